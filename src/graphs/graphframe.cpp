// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphframe.h"

#include "core/displayoptions.h"
#include "core/numberformat.h"
#include "platform/drawingsurface.h"
#include "platform/palette.h"

namespace GraphFrame {

namespace {

constexpr int gridColour = 7;
constexpr int arrowLength = 8; // along the axis
constexpr int arrowHalfWidth = 4;
constexpr double valueTextX = 45;
constexpr double valueTextY = 7;
constexpr double exponentY = 5; // two pixels above the line: an exponent
constexpr double letterX = 18;
constexpr double letterY = 5;
constexpr double axisTop = 15;
constexpr double gridTop = 30;

QString quantityLetter(int quantity)
{
    switch (quantity) {
    case DisplayOptions::Velocity:
        return QStringLiteral("v");
    case DisplayOptions::Acceleration:
        return QStringLiteral("a");
    default:
        return QStringLiteral("y");
    }
}

} // namespace

QColor curveColour(int quantity)
{
    switch (quantity) {
    case DisplayOptions::Velocity:
        return QBColor(12);
    case DisplayOptions::Acceleration:
        return QColor(250, 150, 0);
    default:
        return QBColor(9);
    }
}

QString divisionText(double worth, const QString &unit)
{
    return QStringLiteral("Une division correspond à ") + NumberFormat::generalDouble(worth)
        + QLatin1Char(' ') + unit;
}

void draw(DrawingSurface &s, const GraphGeometry &g, const GraphScale &scale, int quantity)
{
    const QColor grey = QBColor(gridColour);
    const QColor black = QBColor(0);
    s.setDrawWidth(1);

    // Grid: the steps are computed in single precision, as the positions are.
    const float columnStep = float(scale.d) * float(g.timeSpan) / float(scale.mantt);
    for (float x = float(g.originX); x <= float(g.gridRight); x += columnStep)
        s.line(x, gridTop, x, g.originY, grey);
    const float rowStep = float(scale.dv) * float(g.valueSpan) / float(scale.mantv);
    for (float y = float(g.originY); y >= float(gridTop - 1); y -= rowStep)
        s.line(g.originX, y, g.originX + g.timeSpan, y, grey);

    // Value axis with its arrow pointing up.
    s.line(g.originX, axisTop, g.originX, g.originY, black);
    s.line(g.originX, axisTop, g.originX + arrowHalfWidth, axisTop + arrowLength, black);
    s.line(g.originX, axisTop, g.originX - arrowHalfWidth, axisTop + arrowLength, black);

    s.setFontName(QStringLiteral("Arial"));
    s.setFontSize(8);
    s.setFontItalic(false);
    s.setFontBold(false);
    s.setForeColor(black);
    s.setCurrentPoint(valueTextX, valueTextY);
    s.print(divisionText(scale.valueDivision(), QStringLiteral("m")));
    // A zoomed view (positions only) says where its axes start.
    if (scale.v0 != 0.0 || scale.t0 != 0.0)
        s.print(QStringLiteral(" ; origine y = ") + NumberFormat::generalDouble(scale.v0)
                + QStringLiteral(" m"));
    if (quantity == DisplayOptions::Velocity || quantity == DisplayOptions::Acceleration) {
        s.print(QStringLiteral(" · s"));
        s.setCurrentY(exponentY);
        s.print(quantity == DisplayOptions::Velocity ? QStringLiteral("-1") : QStringLiteral("-2"));
    }

    // Time axis with its arrow pointing right.
    s.line(g.originX, g.originY, g.axisEnd, g.originY, black);
    s.line(g.axisEnd - arrowLength, g.originY - arrowHalfWidth, g.axisEnd, g.originY, black);
    s.line(g.axisEnd - arrowLength, g.originY + arrowHalfWidth, g.axisEnd, g.originY, black);

    QString timeText = divisionText(scale.timeDivision(), QStringLiteral("s"));
    if (scale.v0 != 0.0 || scale.t0 != 0.0)
        timeText += QStringLiteral(" ; origine t = ") + NumberFormat::generalDouble(scale.t0)
            + QStringLiteral(" s");
    s.setCurrentPoint(s.width() - s.textWidth(timeText) - g.timeTextRight,
                      s.height() - s.textHeight(timeText) - g.timeTextBottom);
    s.print(timeText);

    s.setFontSize(10);
    s.setFontItalic(true);
    s.setCurrentPoint(g.letterTX, g.letterTY);
    s.print(QStringLiteral("t"));
    s.setCurrentPoint(letterX, letterY);
    s.print(quantityLetter(quantity));
    s.setFontItalic(false);
    s.setFontBold(false);
    s.setFontSize(8);
}

} // namespace GraphFrame
