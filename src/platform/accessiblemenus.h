// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QMenu;

// Pop-up menus are windows of their own, and Qt's accessibility lists only
// the application's other windows among its children: a screen reader
// walking the application never meets a menu that is shown. Once exposed,
// the application's accessible object also lists every pop-up menu shown,
// with its items (named by their captions, separators apart).
namespace AccessibleMenus {

// Called by each pop-up menu of the program when it is created.
void expose(QMenu *menu);

} // namespace AccessibleMenus
