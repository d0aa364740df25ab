// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/surfacewidget.h"

#include <QColor>
#include <QFont>

// Common ground of the four option panels of the tab strip: a surface that
// its own paint handler redraws from scratch whenever it is shown, resized or
// refreshed, in the panels' background colour, with controls in the panels'
// font. The tab strip gives each panel its place; a panel built alone has the
// size the strip gives it with its usual caption height.
class OptionPanel : public SurfaceWidget
{
    Q_OBJECT

public:
    // RGB(240, 235, 230), shared by the panels and their check boxes.
    static QColor backgroundColour();
    // Arial 8.25 points at 96 dpi: 11 pixels.
    static QFont controlFont(bool bold = false);

protected:
    explicit OptionPanel(const QString &name, QWidget *parent = nullptr);

    // Gives a control of the panel its name, geometry (panel pixels) and font.
    static void place(QWidget *control, const QString &name, const QRect &geometry,
                      bool bold = false);
    // Check boxes, option buttons and captions fill their area with the
    // panel's background colour, black text.
    static void onBackground(QWidget *control);
    // Widens a caption that its designed width would cut, so that each of
    // texts fits in its font.
    static void fitWidth(QWidget *caption, const QStringList &texts);
    // First step of every panel handler: background colour (which clears the
    // surface), Arial 8 regular, black text.
    void beginPaint();
};
