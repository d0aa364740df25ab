// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>

class DrawingSurface;

// Form_Paint: the main window's painted background, drawn once into its
// persistent picture. A vertical gradient from white at the top to
// RGB(200, 200, 180) at row 600, the dark shadow of the text block (from the
// exercise bar down to the bottom of the text area, offset by 3 pixels), and
// the shadowed title "Animation :" whose top-left is at title.
void Form_Paint(DrawingSurface &surface, const QRect &exerciseBar, const QRect &textArea,
                const QPoint &title);
