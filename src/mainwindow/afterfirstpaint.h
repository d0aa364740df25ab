// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QWidget;

// Runs run once the first paint event of widget has been handled (it is
// queued from that event, so it runs after the frame is shown), or after a
// second if the widget is not painted by then (started minimized). For the
// work a window need not do before its first frame. run is dropped with the
// widget. Until it runs, widget has a child object named "afterFirstPaint".
void afterFirstPaint(QWidget &widget, std::function<void()> run);
