// SPDX-License-Identifier: GPL-3.0-or-later
#include "valuestable.h"

#include "core/motion.h"
#include "core/numberformat.h"

#include <QHeaderView>

#include <algorithm>
#include <cmath>

namespace {

constexpr double relativeTolerance = 1e-9;
const QString cellEnd = QStringLiteral("  ");
const QColor headerBackground(192, 192, 192);
constexpr int minimumColumnWidth = 64;
constexpr int cellPadding = 10;

} // namespace

ValuesTable::ValuesTable(QWidget *parent)
    : QTableWidget(parent)
{
    setObjectName(QStringLiteral("MSFlexGrid1"));
    setAccessibleName(QStringLiteral("Tableau de valeurs"));
    setColumnCount(columns);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(rowHeightPixels);
    horizontalHeader()->setMinimumSectionSize(1);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWordWrap(false);
    connect(this, &QTableWidget::itemSelectionChanged, this, &ValuesTable::MSFlexGrid1_SelChange);
    connect(this, &QTableWidget::currentCellChanged, this, &ValuesTable::MSFlexGrid1_SelChange);
    fill(0.0, 0.0, 0.0, 0.0);
}

QStringList ValuesTable::headers()
{
    return {QStringLiteral("t (s)"), QStringLiteral("y (m)"), QStringLiteral("v (m/s)"),
            QStringLiteral("a (m/s²)")};
}

int ValuesTable::instantCount(double tfin, double step)
{
    if (!(tfin >= 0.0) || !(step > 0.0) || !std::isfinite(tfin) || !std::isfinite(step))
        return 0;
    const double limit = tfin * (1.0 + relativeTolerance);
    // A step below tfin / 20 cannot come from a scale that reaches tfin; the
    // bound keeps a wrong caller from building a huge table.
    int count = 0;
    while (count <= stepsPerScale && double(count) * step <= limit)
        ++count;
    return count;
}

QString ValuesTable::timeCell(double t)
{
    return NumberFormat::fixedTwo(t) + cellEnd;
}

QString ValuesTable::valueCell(double value)
{
    return NumberFormat::threeSignificant(value) + cellEnd;
}

void ValuesTable::setCell(int row, int column, const QString &text, bool header)
{
    auto *cell = new QTableWidgetItem(text);
    cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (header) {
        cell->setTextAlignment(Qt::AlignCenter);
        cell->setBackground(headerBackground);
    } else {
        cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    setItem(row, column, cell);
}

void ValuesTable::fill(double vlim, double tau, double tfin, double ft)
{
    const double step = ft / stepsPerScale;
    const int instants = tfin > 0.0 ? instantCount(tfin, step) : 0;

    m_resetting = true;
    clearContents();
    setRowCount(1 + instants);
    const QStringList titles = headers();
    for (int c = 0; c < columns; ++c)
        setCell(0, c, titles[c], true);
    for (int i = 0; i < instants; ++i) {
        // Each instant is a product, not a running sum, so the last one lands
        // on tfin rather than just past it. A product above tfin by rounding
        // only is evaluated at tfin.
        const double t = std::min(double(i) * step, tfin);
        const Motion::Point p = Motion::at(vlim, tau, t);
        setCell(i + 1, 0, timeCell(t), false);
        setCell(i + 1, 1, valueCell(p.y), false);
        setCell(i + 1, 2, valueCell(p.v), false);
        setCell(i + 1, 3, valueCell(p.a), false);
    }

    for (int c = 0; c < columns; ++c) {
        int width = minimumColumnWidth;
        for (int r = 0; r < rowCount(); ++r)
            width = std::max(width,
                             fontMetrics().horizontalAdvance(item(r, c)->text()) + cellPadding);
        m_naturalWidths[c] = width;
    }
    const int shared = *std::max_element(std::begin(m_naturalWidths), std::end(m_naturalWidths));
    for (int c = 0; c < columns; ++c)
        setColumnWidth(c, shared);
    for (int r = 0; r < rowCount(); ++r)
        setRowHeight(r, rowHeightPixels);
    resize(fittedSize());
    m_resetting = false;
    MSFlexGrid1_SelChange();
}

QSize ValuesTable::fittedSize() const
{
    int width = 2 * frameWidth();
    for (int c = 0; c < columnCount(); ++c)
        width += columnWidth(c);
    int height = 2 * frameWidth();
    for (int r = 0; r < rowCount(); ++r)
        height += rowHeight(r);
    return QSize(width, height);
}

void ValuesTable::fitWidth(int width)
{
    const int frame = 2 * frameWidth();
    int widths[columns];
    const int shared = *std::max_element(std::begin(m_naturalWidths), std::end(m_naturalWidths));
    std::fill(std::begin(widths), std::end(widths), shared);
    if (frame + columns * shared > width) {
        std::copy(std::begin(m_naturalWidths), std::end(m_naturalWidths), widths);
        // Still too wide: a pixel at a time from the widest column.
        int excess = frame - width;
        for (int w : widths)
            excess += w;
        while (excess > 0) {
            int *widest = std::max_element(std::begin(widths), std::end(widths));
            if (*widest <= 1)
                break;
            --*widest;
            --excess;
        }
    }
    for (int c = 0; c < columns; ++c)
        setColumnWidth(c, widths[c]);
    resize(fittedSize());
}

QList<QStringList> ValuesTable::cellTexts() const
{
    QList<QStringList> rows;
    for (int r = 0; r < rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < columnCount(); ++c) {
            const QTableWidgetItem *cell = item(r, c);
            cells.append(cell ? cell->text() : QString());
        }
        rows.append(cells);
    }
    return rows;
}

QString ValuesTable::clipText() const
{
    QStringList rows;
    for (const QStringList &cells : cellTexts())
        rows.append(cells.join(QLatin1Char('\t')));
    return rows.join(QLatin1Char('\n'));
}

void ValuesTable::MSFlexGrid1_SelChange()
{
    if (m_resetting)
        return;
    m_resetting = true;
    setCurrentCell(0, 0);
    clearSelection();
    if (rowCount() > 0)
        setRangeSelected(QTableWidgetSelectionRange(0, 0, 0, 0), true);
    m_resetting = false;
}
