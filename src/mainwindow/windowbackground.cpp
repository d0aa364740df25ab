// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowbackground.h"

#include "platform/drawingsurface.h"
#include "platform/palette.h"

#include <cmath>

void Form_Paint(DrawingSurface &surface, const QRect &exerciseBar, const QRect &textArea,
                const QPoint &title)
{
    // Colours are rounded to the nearest integer, a half going to the even one.
    for (int a = 0; a <= 600; ++a) {
        const int d = int(std::lrint(255.0 - a * 55.0 / 600.0));
        const int c = int(std::lrint(255.0 - a * 75.0 / 600.0));
        surface.line(0, a, 800, a, QColor(d, d, c));
    }

    // Shadow of the exercise bar and text area, 3 pixels down and right.
    surface.box(textArea.left() + 3, exerciseBar.top() + 3, textArea.right() + 1 + 3,
                textArea.bottom() + 1 + 3, QBColor(8), true);

    surface.setFontName(QStringLiteral("Arial"));
    surface.setFontSize(14);
    surface.setFontBold(true);
    surface.setForeColor(QBColor(8));
    surface.setCurrentPoint(title.x(), title.y());
    surface.print(QStringLiteral("Animation :"));
    surface.setForeColor(QBColor(9));
    surface.setCurrentPoint(title.x() - 1, title.y() - 1);
    surface.print(QStringLiteral("Animation :"));
    surface.setFontBold(false);
}
