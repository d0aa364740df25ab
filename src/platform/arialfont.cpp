// SPDX-License-Identifier: GPL-3.0-or-later
#include "arialfont.h"

#include "twips.h"

QFont ArialFont::designPixels(double points, bool bold, bool italic)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(qRound(points * Twips::screenDpi / Twips::pointsPerInch));
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QFont ArialFont::systemPoints(int points, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}
