#include "core/animationclock.h"
#include "core/motion.h"
#include "graphs/graphes.h"
#include "graphs/valuestable.h"
#include "platform/surfacewidget.h"
#include "support/fakefields.h"
#include "support/scriptedservices.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

namespace {

const QColor asymptote(0, 0, 200);
const QColor red(255, 0, 0);

// The graph window over the default fall, shown as the main window opens it.
struct Fixture
{
    FakeFields fields;
    AnimationView view;
    AnimationClock clock {fields, view};
    ScriptedServices services;
    DisplayOptions options;
    Graphes window {clock.state(), [this] { return options; }, services};

    explicit Fixture(int quantity = DisplayOptions::Position, bool bold = false)
    {
        options.graphQuantity = quantity;
        options.boldGraph = bold;
        clock.command18_Click();
        window.show();
    }
    const QImage &image() const { return window.Picture1->surface().image(); }
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
    void boldCurveAndAsymptote();
    void readout_data();
    void readout();
    void readoutHiddenOffThePlot();
    void blankWithoutFall();
    void layoutAndStrip();
    void copies();
    void commands();
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
    QCOMPARE(strip.pixelColor(iw - 1, 20), QColor(128, 128, 128));
    QCOMPARE(strip.pixelColor(20, ih - 1), QColor(Qt::black));
    QCOMPARE(strip.pixelColor(20, 20), QColor(192, 192, 192));
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
