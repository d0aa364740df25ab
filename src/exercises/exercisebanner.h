// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// tito, the banner of the exercise window: "Ouvrir un exercice" in Arial 24
// bold on dark blue, each letter a little whiter than the one before, from
// RGB(255, 255, 161) to white, starting 30 pixels from the left and centred
// vertically (2 pixels higher).
class ExerciseBanner : public QWidget
{
    Q_OBJECT

public:
    explicit ExerciseBanner(QWidget *parent = nullptr);

    static QString title() { return QStringLiteral("Ouvrir un exercice"); }
    // Colour of letter i (1 to 18): RGB(255, 255, b), b = round(i/18 × 100 + 155).
    static QColor letterColour(int i);
    static QColor background() { return QColor(0, 0, 128); }

protected:
    void paintEvent(QPaintEvent *event) override;
};
