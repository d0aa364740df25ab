// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCursor>
#include <QIcon>

// The program's own icons, painted when first shown so that they stay sharp and
// consistent: one flat style, dark outlines, a few accent colours.
namespace Icons {

QIcon erase();
QIcon open();
QIcon save();
QIcon copy();
QIcon print();
QIcon calculator();
QIcon help();
QIcon close();

QIcon reset();
QIcon stop();
QIcon start();
QIcon pause();

// The small arrow of a button that opens a menu.
QIcon menuArrow();

QIcon cameraIdle();
QIcon cameraRecording();

// The pointer over the small graph: a click there opens the graph window.
QCursor graphCursor();

} // namespace Icons
