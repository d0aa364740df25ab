// SPDX-License-Identifier: GPL-3.0-or-later
#include "optionpanel.h"

#include "platform/palette.h"

#include <QFontMetrics>

#include <algorithm>

OptionPanel::OptionPanel(const QString &name, QWidget *parent)
    : SurfaceWidget(parent)
{
    setObjectName(name);
    setRepaintedByHandler(true);
    surface().setBackColor(backgroundColour());
    // The place the tab strip gives a panel when its captions are 13 pixels
    // high (Arial 8): 293 - 8 by 325 - 13 - 9.
    resize(285, 303);
}

QColor OptionPanel::backgroundColour()
{
    return QColor(240, 235, 230);
}

QFont OptionPanel::controlFont(bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    font.setBold(bold);
    return font;
}

void OptionPanel::place(QWidget *control, const QString &name, const QRect &geometry, bool bold)
{
    control->setObjectName(name);
    control->setGeometry(geometry);
    control->setFont(controlFont(bold));
}

void OptionPanel::onBackground(QWidget *control)
{
    QPalette colours = control->palette();
    colours.setColor(QPalette::Window, backgroundColour());
    colours.setColor(QPalette::WindowText, Qt::black);
    control->setPalette(colours);
    // Buttons fill with their Button role unless told otherwise.
    control->setBackgroundRole(QPalette::Window);
    control->setAutoFillBackground(true);
}

void OptionPanel::fitWidth(QWidget *caption, const QStringList &texts)
{
    const QFontMetrics metrics(caption->font());
    int width = caption->width();
    for (const QString &text : texts)
        width = std::max(width, metrics.horizontalAdvance(text) + 2);
    caption->resize(width, caption->height());
}

void OptionPanel::beginPaint()
{
    DrawingSurface &s = surface();
    s.setBackColor(backgroundColour());
    s.setFontName(QStringLiteral("Arial"));
    s.setFontSize(8);
    s.setFontBold(false);
    s.setFontItalic(false);
    s.setForeColor(QBColor(0));
    s.setFillStyle(DrawingSurface::FillStyle::Transparent);
    s.setDrawWidth(1);
}
