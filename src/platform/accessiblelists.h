// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QListView;

// Qt's accessible list counts its rows from the top of the model, not from
// the folder the view shows (its root index): a list of a folder's files
// then shows a screen reader one stray row. Once exposed, the view's
// accessible children are the rows under its root index, each a list item
// named by its text, selected and focused as the view shows it.
namespace AccessibleLists {

void expose(QListView *view);

} // namespace AccessibleLists
