// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercisebanner.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

ExerciseBanner::ExerciseBanner(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("tito"));
    setAccessibleName(title());
}

QColor ExerciseBanner::letterColour(int i)
{
    const int blue = int(std::lround(double(i) / 18.0 * 100.0 + 155.0));
    return QColor(255, 255, blue);
}

void ExerciseBanner::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), background());

    painter.save();
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(24);
    font.setBold(true);
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    const QString text = title();
    // The text's top edge, then its baseline.
    const double top = (height() - metrics.height()) / 2.0 - 2.0;
    double x = 30.0;
    for (int i = 0; i < text.size(); ++i) {
        painter.setPen(letterColour(i + 1));
        painter.drawText(QPointF(x, top + metrics.ascent()), text.at(i));
        x += metrics.horizontalAdvance(text.at(i));
    }
    painter.restore();
}
