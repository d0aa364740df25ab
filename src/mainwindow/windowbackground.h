// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/drawingsurface.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>

class QPainter;

// The main window's painted background: a vertical gradient from white at
// the top towards RGB(200, 200, 180) at row 600, the dark shadow of the text
// block (from the exercise bar down to the bottom of the text area, offset
// by 3 pixels), and the shadowed title "Animation :" whose top-left is at
// title.
//
// The gradient and the shadow are fills, painted straight onto the window
// where it needs it: the gradient from a column of one pixel. Only the title
// is kept as a picture, a small one with the gradient under it. A whole
// 800 × 600 picture would hold 1.9 MB (four times that on a high-density
// screen) for what a few fills redraw.
class WindowBackground
{
public:
    static constexpr int width = 800;
    static constexpr int height = 600;

    WindowBackground(const QRect &exerciseBar, const QRect &textArea, const QPoint &title);

    // The gradient's colour on a row, 0 to 599.
    static QColor rowColour(int row);

    // Paints the background inside dirty, in pixels of the window, with
    // ratio device pixels per pixel (the title is drawn at that density).
    // What lies beyond 800 × 600 is left to the caller.
    void paint(QPainter &painter, const QRect &dirty, int ratio);
    // The whole background at one device pixel per pixel.
    QImage picture();

private:
    // Draws the title's picture at ratio.
    void drawTitle(int ratio);

    QRect m_exerciseBar;
    QRect m_textArea;
    QPoint m_title;
    // The gradient, one pixel wide.
    QImage m_gradient;
    // The title with the gradient under it, and its place in the window.
    DrawingSurface m_titlePicture;
    QRect m_titleRect;
};

// Form_Paint: draws the part of the background whose top-left corner is at
// origin in the window onto surface, as wide and high as the surface.
void Form_Paint(DrawingSurface &surface, const QPoint &origin, const QRect &exerciseBar,
                const QRect &textArea, const QPoint &title);
