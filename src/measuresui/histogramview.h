// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "measures/montecarlo.h"

#include <QWidget>

// The distribution of η over Monte-Carlo draws: one bar per bin of the
// result's histogram, the mean and the 95 % interval marked. Its accessible
// description says what the picture shows (draws, mean, standard deviation,
// interval) for a screen reader. Empty (nothing drawn) until setResult.
class HistogramView : public QWidget
{
    Q_OBJECT

public:
    explicit HistogramView(QWidget *parent = nullptr);

    void setResult(const MonteCarloResult &result);
    void clear();
    bool hasResult() const { return m_result.ok && !m_result.counts.empty(); }

    // "Histogramme des valeurs de η tirées. Monte-Carlo (10000 tirages) :
    // η = 1,200 ± 0,012 Pa·s (moyenne ± écart type). Intervalle à 95 % :
    // [1,176 ; 1,224] Pa·s"; empty without a result.
    static QString describe(const MonteCarloResult &result);

    QSize sizeHint() const override { return {320, 110}; }
    QSize minimumSizeHint() const override { return {160, 70}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    MonteCarloResult m_result;
};
