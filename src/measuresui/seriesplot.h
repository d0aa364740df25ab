// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "measures/fallseries.h"
#include "measures/seriestrial.h"

#include <QWidget>

#include <vector>

class QPainter;

// What the series' plot shows: every trial with a v∞, the series' line and
// the drag curve for the series' η.
struct SeriesPlotData
{
    std::vector<SeriesTrial> trials;
    SeriesResult result;                         // not ok: the points alone
    double fluidDensity = SeriesTrial::nan;      // kg/m³, for a reduced r²
    std::vector<SeriesTrials::CurvePoint> curve; // v∞ by the drag curve
};

// The plot of v∞ (wall-corrected) against r², in mm/s and mm²: each trial
// with its error bars (±u of v∞ and of r²) and its number, the trials left
// out hollow and grey, the ones named as disagreeing in red; the line
// through the origin fitted on the used trials, and the drag curve's v∞ for
// the series' η, which leaves the line as Re grows.
class SeriesPlot : public QWidget
{
    Q_OBJECT

public:
    explicit SeriesPlot(QWidget *parent = nullptr);

    // The plot of a series: its trials, its result and the drag curve for
    // its η and mean density, a little past the largest r².
    static SeriesPlotData dataOf(std::vector<SeriesTrial> trials, const SeriesResult &result,
                                 double fluidDensity);

    void setData(SeriesPlotData data);
    const SeriesPlotData &data() const { return m_data; }

    // Paints data inside rect (white background): the widget's and the
    // report's picture.
    static void paint(QPainter &painter, const QRectF &rect, const SeriesPlotData &data);
    // What the plot shows, in one French sentence, for screen readers.
    static QString description(const SeriesPlotData &data);

    QSize sizeHint() const override { return {440, 260}; }
    QSize minimumSizeHint() const override { return {260, 180}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    SeriesPlotData m_data;
};
