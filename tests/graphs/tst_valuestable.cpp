// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/animationclock.h"
#include "core/motion.h"
#include "graphs/graphscale.h"
#include "graphs/valuestable.h"
#include "support/fakefields.h"

#include <QTest>

#include <cmath>

class TestValuesTable : public QObject
{
    Q_OBJECT

private slots:
    void defaultFall();
    void instants_data();
    void instants();
    void belowTheSingleRange();
    void clipText();
    void headersOnlyWithoutFall();
    void everyCellShown();
    void selectionGoesBackToTheCorner();
};

namespace {

QString cell(const ValuesTable &table, int row, int column)
{
    const QTableWidgetItem *item = table.item(row, column);
    return item ? item->text() : QStringLiteral("<empty>");
}

} // namespace

void TestValuesTable::defaultFall()
{
    FakeFields fields;
    AnimationView view;
    AnimationClock clock(fields, view);
    clock.command18_Click();
    const SimulationState &s = clock.state();
    const GraphScale scale
        = chooseScale(s.tfin, Motion::at(s.vlim, s.tau, s.tfin).y, graphWindowRules);
    QCOMPARE(scale.ft(), 12.0);

    ValuesTable table;
    table.fill(s.vlim, s.tau, s.tfin, scale.ft());
    QCOMPARE(table.columnCount(), 4);
    QCOMPARE(table.rowCount(), 20); // 0 to 10,8 s every 0,6 s
    QCOMPARE(cell(table, 0, 0), QStringLiteral("t (s)"));
    QCOMPARE(cell(table, 0, 1), QStringLiteral("y (m)"));
    QCOMPARE(cell(table, 0, 2), QStringLiteral("v (m/s)"));
    QCOMPARE(cell(table, 0, 3), QStringLiteral("a (m/s²)"));
    QCOMPARE(cell(table, 1, 0), QStringLiteral("0,00  "));
    QCOMPARE(cell(table, 1, 1), QStringLiteral("0  "));
    QCOMPARE(cell(table, 1, 2), QStringLiteral("0  "));
    QCOMPARE(cell(table, 1, 3), QStringLiteral("0,0895  "));
    QCOMPARE(cell(table, 19, 0), QStringLiteral("10,80  "));
    // The law written out: y = vlim·(t − τ(1 − e^(−t/τ))), v = vlim·(1 − e^(−t/τ)),
    // a = vlim/τ·e^(−t/τ), shown with three significant digits.
    const auto shown = [](double value) {
        QString text = QString::number(value, 'g', 3);
        text.replace(QLatin1Char('.'), QLatin1Char(','))
            .replace(QLatin1Char('e'), QLatin1Char('E'));
        return text + QStringLiteral("  ");
    };
    const QStringList times {QStringLiteral("0,60  "), QStringLiteral("2,40  "),
                             QStringLiteral("6,00  "), QStringLiteral("10,80  ")};
    const QList<int> rows {2, 5, 11, 19};
    for (int i = 0; i < rows.size(); ++i) {
        const int row = rows[i];
        const double t = 0.6 * (row - 1);
        const double decay = std::exp(-t / s.tau);
        QCOMPARE(cell(table, row, 0), times[i]);
        QCOMPARE(cell(table, row, 1), shown(s.vlim * (t - s.tau * (1.0 - decay))));
        QCOMPARE(cell(table, row, 2), shown(s.vlim * (1.0 - decay)));
        QCOMPARE(cell(table, row, 3), shown(s.vlim / s.tau * decay));
    }
    // Near the end the sphere moves at almost its limit velocity.
    QCOMPARE(cell(table, 19, 2), QStringLiteral("0,0984  "));
}

void TestValuesTable::instants_data()
{
    QTest::addColumn<double>("tfin");
    QTest::addColumn<double>("ft");
    QTest::addColumn<int>("instants");
    QTest::addColumn<QString>("last");

    // 18 × 0,025 is 0,45000000000000007 by repeated addition; as a product
    // it is within rounding of tfin and the last instant is 0,45 s.
    QTest::newRow("0,45 s") << 0.45 << 0.5 << 19 << QStringLiteral("0,45  ");
    QTest::newRow("scale reached exactly") << 0.5 << 0.5 << 21 << QStringLiteral("0,50  ");
    QTest::newRow("between two steps") << 0.44 << 1.0 << 9 << QStringLiteral("0,40  ");
    QTest::newRow("1,25 s") << 1.25 << 1.4 << 18 << QStringLiteral("1,19  ");
}

void TestValuesTable::instants()
{
    QFETCH(double, tfin);
    QFETCH(double, ft);
    QFETCH(int, instants);
    QFETCH(QString, last);
    QCOMPARE(ValuesTable::instantCount(tfin, ft / 20), instants);
    ValuesTable table;
    table.fill(0.5, 0.1, tfin, ft);
    QCOMPARE(table.rowCount(), instants + 1);
    QCOMPARE(cell(table, instants, 0), last);
    for (int c = 0; c < 4; ++c)
        QVERIFY(!cell(table, instants, c).trimmed().isEmpty());
}

void TestValuesTable::belowTheSingleRange()
{
    // vlim 1 m/s, τ 0,01 s: at 1 s the acceleration 100·e^(−100) =
    // 3,72E-42 m/s² lies below the normal range of a single; its cell keeps
    // three digits.
    ValuesTable table;
    table.fill(1.0, 0.01, 1.0, 1.0);
    QCOMPARE(table.rowCount(), 22);
    QCOMPARE(cell(table, 2, 1), QStringLiteral("0,0401  "));
    QCOMPARE(cell(table, 2, 2), QStringLiteral("0,993  "));
    QCOMPARE(cell(table, 2, 3), QStringLiteral("0,674  "));
    QCOMPARE(cell(table, 21, 0), QStringLiteral("1,00  "));
    QCOMPARE(cell(table, 21, 1), QStringLiteral("0,99  "));
    QCOMPARE(cell(table, 21, 2), QStringLiteral("1  "));
    QCOMPARE(cell(table, 21, 3), QStringLiteral("3,72E-42  "));
}

void TestValuesTable::clipText()
{
    ValuesTable table;
    table.fill(1.0, 1.0, 0.2, 2.0);
    QCOMPARE(table.clipText(),
             QStringLiteral("t (s)\ty (m)\tv (m/s)\ta (m/s²)\n"
                            "0,00  \t0  \t0  \t1  \n"
                            "0,10  \t0,00484  \t0,0952  \t0,905  \n"
                            "0,20  \t0,0187  \t0,181  \t0,819  "));
}

void TestValuesTable::headersOnlyWithoutFall()
{
    ValuesTable table;
    table.fill(1.0, 1.0, 0.2, 2.0);
    table.fill(1.0, 1.0, 0.0, 2.0);
    QCOMPARE(table.rowCount(), 1);
    QCOMPARE(table.clipText(), QStringLiteral("t (s)\ty (m)\tv (m/s)\ta (m/s²)"));
    table.fill(1.0, 1.0, 0.5, 0.0); // no scale: nothing divides by it
    QCOMPARE(table.rowCount(), 1);
}

void TestValuesTable::everyCellShown()
{
    ValuesTable table;
    table.fill(0.5, 0.1, 0.5, 0.5);
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));
    QCOMPARE(table.rowCount(), 22);
    const QRect viewport = table.viewport()->rect();
    for (int r = 0; r < table.rowCount(); ++r) {
        for (int c = 0; c < table.columnCount(); ++c) {
            const QRect rect = table.visualItemRect(table.item(r, c));
            QVERIFY2(viewport.contains(rect), qPrintable(QStringLiteral("%1 %2").arg(r).arg(c)));
            const int needed = table.fontMetrics().horizontalAdvance(table.item(r, c)->text());
            QVERIFY(rect.width() > needed);
        }
    }
}

void TestValuesTable::selectionGoesBackToTheCorner()
{
    ValuesTable table;
    table.fill(0.5, 0.1, 0.5, 0.5);
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));
    const QRect target = table.visualItemRect(table.item(5, 2));
    QTest::mouseClick(table.viewport(), Qt::LeftButton, Qt::NoModifier, target.center());
    QCOMPARE(table.currentRow(), 0);
    QCOMPARE(table.currentColumn(), 0);
    QCOMPARE(table.selectedItems().size(), 1);
    QCOMPARE(table.selectedItems().first(), table.item(0, 0));

    table.setFocus();
    QTest::keyClick(&table, Qt::Key_Down);
    QCOMPARE(table.currentRow(), 0);
    table.setRangeSelected(QTableWidgetSelectionRange(2, 1, 6, 3), true);
    QCOMPARE(table.selectedItems().size(), 1);
    QCOMPARE(table.selectedItems().first(), table.item(0, 0));
}

QTEST_MAIN(TestValuesTable)
#include "tst_valuestable.moc"
