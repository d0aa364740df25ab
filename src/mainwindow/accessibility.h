// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessible>

class QWidget;

// What assistive tools (screen readers) learn of the controls that Qt cannot
// describe by itself: the painted tab strip (a page-tab list with one page
// tab per caption, the current one selected), the scale spinners (spin boxes
// whose value text is what their bar stands for), the colour swatches
// (buttons) and the plain widgets given a role with setRole (the scene and
// the small graph as graphics, the hint line as a status bar).
namespace Accessibility {

// Installs the interfaces' factory; later calls do nothing. Called by every
// window that holds such controls, before it is shown.
void installFactory();

// The widget is presented with role; a label keeps its text as its name
// unless it has an accessible name.
void setRole(QWidget *widget, QAccessible::Role role);

} // namespace Accessibility
