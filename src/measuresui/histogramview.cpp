// SPDX-License-Identifier: GPL-3.0-or-later
#include "histogramview.h"

#include "measures/uncertaintyreport.h"

#include <QPainter>

#include <algorithm>

HistogramView::HistogramView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("histogram"));
    setAccessibleName(QStringLiteral("Histogramme des tirages de Monte-Carlo"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setMinimumHeight(minimumSizeHint().height());
    setMaximumHeight(sizeHint().height());
}

QString HistogramView::describe(const MonteCarloResult &r)
{
    if (!r.ok)
        return {};
    // The same figures as the result lines: the mean ± the standard
    // deviation, then the interval.
    return QStringLiteral("Histogramme des valeurs de η tirées. ")
        + UncertaintyReport::monteCarloLines(r).join(QStringLiteral(". "));
}

void HistogramView::setResult(const MonteCarloResult &result)
{
    m_result = result;
    setAccessibleDescription(describe(result));
    update();
}

void HistogramView::clear()
{
    setResult(MonteCarloResult());
}

void HistogramView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    p.setPen(palette().mid().color());
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    if (!hasResult())
        return;
    const std::vector<int> &counts = m_result.counts;
    const std::vector<double> &edges = m_result.edges;
    const int highest = *std::max_element(counts.begin(), counts.end());
    const double from = edges.front(), to = edges.back();
    if (highest <= 0 || !(to > from))
        return;
    const QRectF area = QRectF(rect()).adjusted(4, 4, -4, -4);
    const auto x
        = [&](double eta) { return area.left() + (eta - from) / (to - from) * area.width(); };
    const QColor bar = palette().highlight().color();
    for (size_t i = 0; i < counts.size(); ++i) {
        const double h = area.height() * counts[i] / highest;
        p.fillRect(QRectF(QPointF(x(edges[i]), area.bottom() - h),
                          QPointF(x(edges[i + 1]), area.bottom())),
                   bar);
    }
    // The mean (solid) and the 95 % interval's ends (dashed).
    p.setPen(QPen(palette().text().color(), 1.5));
    p.drawLine(QPointF(x(m_result.mean), area.top()), QPointF(x(m_result.mean), area.bottom()));
    p.setPen(QPen(palette().text().color(), 1.0, Qt::DashLine));
    for (double end : {m_result.low, m_result.high})
        p.drawLine(QPointF(x(end), area.top()), QPointF(x(end), area.bottom()));
}
