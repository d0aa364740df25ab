// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/animationclock.h"
#include "core/motion.h"
#include "graphs/graphes.h"
#include "graphs/valuestable.h"
#include "platform/surfacewidget.h"
#include "support/graphwindowrig.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

namespace {

const QColor asymptote(0, 0, 200);
const QColor red(255, 0, 0);

// The graph window with counts of its pixels.
struct Fixture : GraphWindowRig
{
    using GraphWindowRig::GraphWindowRig;
    int count(int x, const QColor &colour) const
    {
        int n = 0;
        for (int y = 0; y < image().height(); ++y)
            n += image().pixelColor(x, y) == colour;
        return n;
    }
    bool anywhere(const QColor &colour) const
    {
        for (int x = 0; x < image().width(); ++x)
            if (count(x, colour))
                return true;
        return false;
    }
};

} // namespace

class TestGraphes : public QObject
{
    Q_OBJECT

private slots:
    void quantityFromTheMainWindow();
    void asymptoteOnlyForVelocity();
    void asymptoteAboveThePlot();
    void asymptoteStaysDisabled_data();
    void asymptoteStaysDisabled();
    void curveStopsAtTheEndOfTheFall_data();
    void curveStopsAtTheEndOfTheFall();
    void boldCurveAndAsymptote();
    void readout_data();
    void readout();
    void readoutHiddenOffThePlot();
    void blankWithoutFall();
    void layoutAndStrip();
    void tableClearOfTheGraph_data();
    void tableClearOfTheGraph();
    void copies();
    void commands();
    void shortcuts();
    void keyboardAndNames();
};

void TestGraphes::quantityFromTheMainWindow()
{
    Fixture f(DisplayOptions::Acceleration);
    QVERIFY(f.window.Option1[2]->isChecked());
    QVERIFY(f.anywhere(QColor(250, 150, 0)));
    // A choice made here lasts until the window is activated again.
    f.window.Option1[0]->click();
    QCOMPARE(f.window.quantity(), 0);
    f.window.Form_Activate();
    QCOMPARE(f.window.quantity(), 2);
}

void TestGraphes::asymptoteOnlyForVelocity()
{
    Fixture f;
    QVERIFY(!f.window.Check1->isEnabled());
    f.window.Check1->setChecked(true);
    f.window.Check1_Click();
    QVERIFY(!f.anywhere(asymptote));
    f.window.Option1[1]->click();
    QVERIFY(f.window.Check1->isEnabled());
    // vlim ≈ 0,0984 m/s on a full scale of 0,1 m/s.
    const double ya = 360 - f.clock.state().vlim * 330 / f.window.scale().fv();
    const int row = int(std::floor(ya + 0.5));
    QCOMPARE(f.image().pixelColor(200, row), asymptote);
    QCOMPARE(f.image().pixelColor(30, row), asymptote);
    QCOMPARE(f.image().pixelColor(429, row), asymptote);
    QCOMPARE(f.image().pixelColor(200, row + 1), QColor(Qt::white));
    f.window.Option1[2]->click();
    QVERIFY(!f.window.Check1->isEnabled());
    QVERIFY(!f.anywhere(asymptote));
}

void TestGraphes::asymptoteAboveThePlot()
{
    Fixture f(DisplayOptions::Velocity);
    SimulationState &s = f.clock.state();
    // A short fall far from the limit velocity: v(tfin) ≈ 0,095 m/s, vlim 1 m/s.
    s.vlim = 1.0;
    s.tau = 10.0;
    s.tfin = 1.0;
    f.window.Check1->setChecked(true);
    f.window.Check1_Click();
    QVERIFY(!f.window.Check1->isEnabled());
    QVERIFY(!f.anywhere(asymptote));
    // Even once it would fit again, only a change of quantity enables it.
    s.tau = 0.1;
    f.window.Check1_Click();
    QVERIFY(!f.window.Check1->isEnabled());
    f.window.Option1[0]->click();
    f.window.Option1[1]->click();
    QVERIFY(f.window.Check1->isEnabled());
    QVERIFY(f.anywhere(asymptote));
}

void TestGraphes::asymptoteStaysDisabled_data()
{
    QTest::addColumn<int>("quantity");
    QTest::addColumn<double>("tau");
    QTest::newRow("position, default fall") << int(DisplayOptions::Position) << 0.0;
    // vlim = 0,1 m/s and a(0) = 0,2 m/s²: the limit velocity lies inside the
    // acceleration's full scale.
    QTest::newRow("acceleration, vlim inside its scale")
        << int(DisplayOptions::Acceleration) << 0.5;
}

void TestGraphes::asymptoteStaysDisabled()
{
    QFETCH(int, quantity);
    QFETCH(double, tau);
    Fixture f(quantity);
    if (tau > 0) {
        SimulationState &s = f.clock.state();
        s.vlim = 0.1;
        s.tau = tau;
        s.tfin = 2.0;
        f.window.Form_Activate();
        const double ya = 360 - s.vlim * 330 / f.window.scale().fv();
        QVERIFY(ya >= 30 && ya <= 360);
    }
    f.window.Check1->setChecked(true);
    f.window.Check1_Click();
    QVERIFY(!f.window.Check1->isEnabled());
    f.window.tracegraphe();
    QVERIFY(!f.window.Check1->isEnabled());
    f.window.Form_Activate();
    QVERIFY(!f.window.Check1->isEnabled());
    QVERIFY(!f.anywhere(asymptote));
}

void TestGraphes::curveStopsAtTheEndOfTheFall_data()
{
    QTest::addColumn<int>("quantity");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("position") << int(DisplayOptions::Position) << QColor(0, 0, 255);
    QTest::newRow("velocity") << int(DisplayOptions::Velocity) << red;
    QTest::newRow("acceleration") << int(DisplayOptions::Acceleration) << QColor(250, 150, 0);
}

void TestGraphes::curveStopsAtTheEndOfTheFall()
{
    QFETCH(int, quantity);
    QFETCH(QColor, colour);
    Fixture f(quantity);
    // tfin ≈ 11,27 s on a full scale of 12 s: the curve ends at x ≈ 405,7.
    const double end = 30 + f.clock.state().tfin * 400 / f.window.scale().ft();
    QVERIFY(end < 420);
    QVERIFY(f.count(int(std::floor(end)) - 1, colour) > 0);
    for (int x = int(std::floor(end)) + 2; x <= 432; ++x)
        QVERIFY2(f.count(x, colour) == 0, qPrintable(QString::number(x)));
}

void TestGraphes::boldCurveAndAsymptote()
{
    for (bool bold : {false, true}) {
        Fixture f(DisplayOptions::Velocity, bold);
        f.window.Check1->setChecked(true);
        f.window.Check1_Click();
        // Late in the fall the velocity curve is flat: one pixel per column, or two.
        QCOMPARE(f.count(150, red), bold ? 2 : 1);
        QCOMPARE(f.count(100, asymptote), bold ? 2 : 1);
    }
}

void TestGraphes::readout_data()
{
    QTest::addColumn<int>("quantity");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("value");

    // Default fall: Ft = 12 s; Fv = 1,2 m, 0,1 m/s or 0,1 m/s².
    QTest::newRow("velocity, middle")
        << 1 << QPoint(230, 195) << QStringLiteral("6,00") << QStringLiteral("0,05");
    QTest::newRow("origin") << 1 << QPoint(30, 360) << QStringLiteral("0,00")
                            << QStringLiteral("0,00");
    QTest::newRow("top right") << 1 << QPoint(430, 30) << QStringLiteral("12,00")
                               << QStringLiteral("0,10");
    QTest::newRow("small accelerations read 0,0x")
        << 2 << QPoint(100, 300) << QStringLiteral("2,10") << QStringLiteral("0,02");
}

void TestGraphes::readout()
{
    QFETCH(int, quantity);
    QFETCH(QPoint, position);
    QFETCH(QString, time);
    QFETCH(QString, value);
    Fixture f(quantity);
    f.window.Picture1_MouseMove(Qt::NoButton, Qt::NoModifier, position);
    QCOMPARE(f.window.Label1->text(), time);
    QCOMPARE(f.window.Label2->text(), value);
    QVERIFY(f.window.Label1->isVisible());
    QVERIFY(f.window.Label2->isVisible());
    QCOMPARE(f.window.Label1->y(), 364);
    QCOMPARE(f.window.Label1->x() + f.window.Label1->width() / 2, position.x());
    QCOMPARE(f.window.Label2->x() + f.window.Label2->width(), 23);
    QCOMPARE(f.window.Label2->y() + f.window.Label2->height() / 2, position.y());
    QCOMPARE(f.window.Picture1->cursor().shape(), Qt::CrossCursor);
}

void TestGraphes::readoutHiddenOffThePlot()
{
    Fixture f(DisplayOptions::Velocity);
    for (const QPoint &outside :
         {QPoint(29, 200), QPoint(431, 200), QPoint(200, 29), QPoint(200, 361)}) {
        f.window.Picture1_MouseMove(Qt::NoButton, Qt::NoModifier, QPoint(200, 200));
        QVERIFY(f.window.Label1->isVisible());
        f.window.Picture1_MouseMove(Qt::NoButton, Qt::NoModifier, outside);
        QVERIFY(!f.window.Label1->isVisible());
        QVERIFY(!f.window.Label2->isVisible());
        QCOMPARE(f.window.Picture1->cursor().shape(), Qt::ArrowCursor);
    }
    // Moving onto the window's background hides the read-out too.
    f.window.Picture1_MouseMove(Qt::NoButton, Qt::NoModifier, QPoint(200, 200));
    QTest::mouseMove(&f.window, QPoint(5, 560));
    QVERIFY(!f.window.Label1->isVisible());
    f.window.Picture1_MouseMove(Qt::NoButton, Qt::NoModifier, QPoint(200, 200));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(f.window.Picture1, &leave);
    QVERIFY(!f.window.Label2->isVisible());
}

void TestGraphes::blankWithoutFall()
{
    Fixture f(DisplayOptions::Velocity);
    f.clock.state().tfin = 0.0;
    f.window.tracegraphe();
    QImage white(f.image().size(), f.image().format());
    white.fill(Qt::white);
    QCOMPARE(f.image(), white);
    QCOMPARE(f.window.MSFlexGrid1->rowCount(), 1);
    f.window.Picture1_MouseMove(Qt::NoButton, Qt::NoModifier, QPoint(200, 200));
    QVERIFY(!f.window.Label1->isVisible());
}

void TestGraphes::layoutAndStrip()
{
    Fixture f;
    const QWidget *frame = f.window.Picture1->parentWidget();
    QCOMPARE(f.window.Picture1->size(), QSize(504, 408));
    QCOMPARE(f.window.MSFlexGrid1->x(), (frame->x() - f.window.MSFlexGrid1->width()) / 2);
    QVERIFY(f.window.MSFlexGrid1->x() + f.window.MSFlexGrid1->width() <= frame->x());
    QCOMPARE(f.window.MSFlexGrid1->rowCount(), 20);

    const int w = f.window.Picture3->width();
    QCOMPARE(f.window.Image1[1]->x(), w - 50);
    QCOMPARE(f.window.Image1[2]->x(), w - 90);
    QCOMPARE(f.window.Image1[3]->x(), w - 130);
    QCOMPARE(f.window.Image1[4]->x(), w - 170);
    const QImage strip = f.window.Picture3->surface().image();
    const int iw = strip.width() - 1;
    const int ih = strip.height();
    QCOMPARE(strip.pixelColor(5, 0), QColor(Qt::white));
    QCOMPARE(strip.pixelColor(1, 20), QColor(Qt::white));
    QCOMPARE(strip.pixelColor(20, ih - 2), QColor(128, 128, 128));
    // The grey right edge is the strip's last column.
    QCOMPARE(strip.pixelColor(iw, 20), QColor(128, 128, 128));
    QCOMPARE(strip.pixelColor(iw - 1, 20), QColor(192, 192, 192));
    QCOMPARE(strip.pixelColor(20, ih - 1), QColor(Qt::black));
    QCOMPARE(strip.pixelColor(20, 20), QColor(192, 192, 192));
}

void TestGraphes::tableClearOfTheGraph_data()
{
    QTest::addColumn<double>("tfin");
    QTest::addColumn<bool>("ordinary");
    QTest::addColumn<QString>("lastTime");
    QTest::newRow("default fall") << 0.0 << true << QStringLiteral("10,80  ");
    QTest::newRow("a fall of 3 400 000 s") << 3.4e6 << false << QStringLiteral("3400000,00  ");
    QTest::newRow("a fall of 3,4e9 s") << 3.4e9 << false << QStringLiteral("3400000000,00  ");
}

// However long the fall, the table ends left of the graph's frame, and the
// graph keeps its place and size.
void TestGraphes::tableClearOfTheGraph()
{
    QFETCH(double, tfin);
    QFETCH(bool, ordinary);
    QFETCH(QString, lastTime);
    Fixture f;
    const QWidget *frame = f.window.Picture1->parentWidget();
    const QRect designed = frame->geometry();
    if (tfin > 0) {
        SimulationState &s = f.clock.state();
        s.tfin = tfin;
        s.tau = 1.0;
        s.vlim = 2000.0 / tfin;
        f.window.tracegraphe();
    }
    const ValuesTable *table = f.window.MSFlexGrid1;
    QCOMPARE(table->item(table->rowCount() - 1, 0)->text(), lastTime);
    QCOMPARE(frame->geometry(), designed);
    QCOMPARE(designed.right(), f.window.width() - 1 - 8);
    QVERIFY(table->x() >= 0);
    QVERIFY(table->x() + table->width() <= frame->x());
    QCOMPARE(table->size(), table->fittedSize());
    if (ordinary) {
        // One width for the four columns, the table centred left of the graph.
        for (int c = 1; c < 4; ++c)
            QCOMPARE(table->columnWidth(c), table->columnWidth(0));
        QCOMPARE(table->x(), (frame->x() - table->width()) / 2);
    }
    // The times are shown whole while they fit beside the graph.
    if (tfin < 1e7)
        QVERIFY(table->columnWidth(0) > table->fontMetrics().horizontalAdvance(lastTime));
}

void TestGraphes::copies()
{
    Fixture f;
    f.window.contab->trigger();
    QVERIFY(f.services.clipboardText.startsWith(
        QStringLiteral("t (s)\ty (m)\tv (m/s)\ta (m/s²)\n0,00  \t0  \t0  \t0,0895  \n")));
    QVERIFY(!f.services.clipboardText.contains(QLatin1Char('\r')));
    QVERIFY(!f.services.clipboardText.endsWith(QLatin1Char('\n')));
    QCOMPARE(f.services.clipboardText.count(QLatin1Char('\n')), 19);
    QCOMPARE(f.window.MSFlexGrid1->selectedItems().size(), 1);
    f.window.cogra->trigger();
    QCOMPARE(f.services.clipboardImage, f.image());
}

void TestGraphes::commands()
{
    Fixture f;
    f.window.Image1[3]->click();
    QVERIFY(f.window.copig->isVisible());
    f.window.copig->hide();

    int calculatorRuns = 0;
    f.window.setCalculator([&] { ++calculatorRuns; });
    f.window.Option1[1]->click();
    f.window.Image1[4]->click();
    QCOMPARE(calculatorRuns, 1);
    QCOMPARE(f.window.quantity(), 0); // activated again: the main window's choice

    f.services.printerAnswers.enqueue(false);
    f.window.Image1[2]->click();
    QCOMPARE(f.services.printerRequests, 1);
    QVERIFY(f.services.fileRequests.isEmpty());
    QVERIFY(f.services.messages.isEmpty());

    f.window.Image1[1]->click();
    QVERIFY(!f.window.isVisible());
    QCOMPARE(f.window.result(), int(QDialog::Accepted));
}

void TestGraphes::shortcuts()
{
    Fixture f;
    f.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.services.printerAnswers.enqueue(false);
    // A shortcut clicks its icon as an animated click: released a moment later.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::ControlModifier);
    QTRY_COMPARE(f.services.printerRequests, 1);
    QVERIFY(!f.window.copig->isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::ControlModifier);
    QTRY_VERIFY(f.window.copig->isVisible());
    f.window.copig->hide();
    QCOMPARE(f.services.printerRequests, 1);
}

void TestGraphes::keyboardAndNames()
{
    Fixture f;
    const QList<QWidget *> controls = f.window.findChildren<QWidget *>();
    for (QWidget *w : controls) {
        if (w->focusPolicy() & Qt::TabFocus)
            QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
    }
    QCOMPARE(f.window.Image1[1]->toolTip(), QStringLiteral("Fermer"));
    QCOMPARE(f.window.Image1[2]->toolTip(), QStringLiteral("Imprimer"));
    QCOMPARE(f.window.Image1[3]->toolTip(), QStringLiteral("Copier"));
    QCOMPARE(f.window.Image1[4]->toolTip(), QStringLiteral("Calculatrice"));
    QCOMPARE(f.window.Option1[1]->text().remove(QLatin1Char('&')), QStringLiteral("Vitesse"));
    QCOMPARE(f.window.Check1->text().remove(QLatin1Char('&')),
             QStringLiteral("Tracer l'asymptote"));
    // Escape closes the window.
    QTest::keyClick(&f.window, Qt::Key_Escape);
    QVERIFY(!f.window.isVisible());
}

QTEST_MAIN(TestGraphes)
#include "tst_graphes.moc"
