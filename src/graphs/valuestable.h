// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <QTableWidget>

// MSFlexGrid1, the table of values of the graph window: a header row
// ("t (s)", "y (m)", "v (m/s)", "a (m/s²)") and one row per instant
// t = i x Ft / 20 of the fall, with the position, velocity and acceleration
// at that instant from the motion law. Read-only: a selection made by the
// user goes back to the top-left cell at once.
class ValuesTable : public QTableWidget
{
    Q_OBJECT

public:
    static constexpr int columns = 4;
    // Twenty steps cover the time full scale, which reaches tfin.
    static constexpr int stepsPerScale = 20;
    static constexpr int rowHeightPixels = 17;

    explicit ValuesTable(QWidget *parent = nullptr);

    // Fills the table for the fall (vlim m/s, tau s, tfin s) with the time
    // full scale ft (s) of the graph, then sizes the widget to show every
    // cell. With tfin = 0 (or no usable scale) only the header row remains.
    void fill(double vlim, double tau, double tfin, double ft);

    // Number of instants i x step (i = 0, 1 ...) up to tfin; an instant that
    // exceeds tfin by less than a relative 1e-9 (the rounding of the
    // product) still counts. 0 when there is no usable step.
    static int instantCount(double tfin, double step);
    static QStringList headers();
    // A time cell: two decimals and two spaces ("0,45  ").
    static QString timeCell(double t);
    // A value cell: three significant digits and two spaces ("0,0984  ").
    static QString valueCell(double value);

    // The cell texts, row by row, the header row first.
    QList<QStringList> cellTexts() const;
    // The cell texts of every row joined by tabs, the rows joined by single
    // line feeds, with no line end after the last row.
    QString clipText() const;
    // The size that shows every cell without scroll bars.
    QSize fittedSize() const;
    // Sizes the table to at most width pixels. The four columns share the
    // width of the widest cell while that fits (ordinary falls); otherwise
    // each column takes its own (long falls widen the times only), and as a
    // last resort the widest columns give up pixels and elide their texts.
    void fitWidth(int width);

    // MSFlexGrid1_SelChange: the selection goes back to the top-left cell.
    void MSFlexGrid1_SelChange();

private:
    void setCell(int row, int column, const QString &text, bool header);

    bool m_resetting = false;
    // Width of each column's widest text with its padding, at least the
    // minimum column width; set by fill.
    int m_naturalWidths[columns] = {};
};
