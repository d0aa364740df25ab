// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QMenu;

// Pop-up menus are windows of their own, and Qt's accessibility lists only
// the application's other windows among its children: a screen reader
// walking the application never meets a menu that is shown. The
// application's accessible object also lists, after its windows, each
// exposed pop-up menu while it is shown, with its items (named by their
// captions, separators apart). Menus not exposed are not listed.
namespace AccessibleMenus {

// Called for each pop-up menu of the program when it is created, on the
// user-interface thread. A menu exposed twice is listed once; a destroyed
// one is forgotten. A null menu only makes sure the listing is installed.
void expose(QMenu *menu);

} // namespace AccessibleMenus
