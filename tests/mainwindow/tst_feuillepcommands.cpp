// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/motion.h"
#include "mainwindow/chronopanel.h"
#include "mainwindow/colourswatch.h"
#include "mainwindow/displaypanel.h"
#include "mainwindow/feuillep.h"
#include "mainwindow/parameteredit.h"
#include "mainwindow/parameterpanel.h"
#include "mainwindow/scalespinner.h"
#include "mainwindow/tabstrip.h"
#include "mainwindow/vectorpanel.h"
#include "mainwindowrig.h"
#include "platform/surfacewidget.h"
#include "scene/readoutpanel.h"
#include "scene/scene.h"
#include "scriptedservices.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

// The main window driven through its controls: fields typed, the fall run,
// erasing, colours and options, help and hooks, the copy menu, recording.
class TestFeuillePCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void fieldsThroughKeys();
    void fallRunsToTheEnd();
    void eraseKeepsNothing();
    void colourChoice();
    void optionChangesRedrawTheScene();
    void quantityRedrawsTheSmallGraph_data();
    void quantityRedrawsTheSmallGraph();
    void helpAndHooks();
    void copyMenu();
    void recordingSequenceThroughWidgets();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestFeuillePCommands::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestFeuillePCommands::fieldsThroughKeys()
{
    MainWindowRig w(m_dir->path());
    FeuilleP &f = w.window;
    ParameterEdit *radius = f.parameterPanel()->Text5(0);
    radius->setFocus();
    radius->selectAll();
    QTest::keyClicks(radius, QStringLiteral("7"));
    QTest::keyClick(radius, Qt::Key_Return);
    QCOMPARE(radius->text(), QStringLiteral("7"));
    QCOMPARE(f.parameterPanel()->Text5(1)->text(), QStringLiteral("1160"));
    QCOMPARE(f.parameterPanel()->Text5(5)->text(), QStringLiteral("807"));

    // A typed point is a comma; leaving the field validates it.
    ParameterEdit *height = f.parameterPanel()->Text5(2);
    height->setFocus();
    height->selectAll();
    QTest::keyClicks(height, QStringLiteral("2.5x"));
    QCOMPARE(height->text(), QStringLiteral("2,5"));
    f.parameterPanel()->Text5(3)->setFocus();
    QCOMPARE(height->text(), QStringLiteral("2,5"));
    QCOMPARE(f.picture4()->label3()->text(), QStringLiteral("0,00"));
    const SimulationState &s = f.clock().state();
    QVERIFY(std::fabs(Motion::at(s.vlim, s.tau, s.tfin).y - 2.5) <= 0.0025);

    // Entering a field pauses a running fall.
    f.button(QStringLiteral("command15"))->click();
    f.clock().Timer1_Timer();
    QVERIFY(f.clock().timerEnabled());
    f.parameterPanel()->Text5(4)->setFocus();
    QVERIFY(!f.clock().timerEnabled());
    QCOMPARE(f.picture4()->label3()->text(), QStringLiteral("0,04"));
}

void TestFeuillePCommands::fallRunsToTheEnd()
{
    MainWindowRig w(m_dir->path());
    FeuilleP &f = w.window;
    QPushButton *command5 = f.displayPanel()->findChild<QPushButton *>(QStringLiteral("Command5"));
    QVERIFY(command5->isEnabled());
    f.button(QStringLiteral("command15"))->click();
    f.clock().Timer1_Timer();
    QVERIFY(!command5->isEnabled());
    int ticks = 1;
    while (f.clock().timerEnabled() && ticks < 1000) {
        f.clock().Timer1_Timer();
        ++ticks;
    }
    // 11.27 s of fall at 0.04 s per tick: 282 ticks of 20 ms, 5.6 s.
    QCOMPARE(ticks, 282);
    QCOMPARE(f.picture4()->label3()->text(), QStringLiteral("11,27"));
    QVERIFY(command5->isEnabled());
    QCOMPARE(f.clock().state().ypos, float(f.clock().state().ypos));
    // The sphere sits at the bottom of the fluid.
    QVERIFY(std::abs(f.scene().sphereY() - 475) <= 1);

    // Slow motion: eight ticks per normal step.
    f.displayPanel()->speed()->setChecked(true);
    f.button(QStringLiteral("command15"))->click();
    for (int i = 0; i < 8; ++i)
        f.clock().Timer1_Timer();
    QCOMPARE(f.picture4()->label3()->text(), QStringLiteral("0,04"));
}

void TestFeuillePCommands::eraseKeepsNothing()
{
    MainWindowRig w(m_dir->path());
    FeuilleP &f = w.window;
    f.chronoPanel()->command12()->click();
    for (int i = 0; i < 60; ++i)
        f.clock().Timer1_Timer();
    const QImage withMarks = f.picture2()->surface().backgroundPicture();
    f.button(QStringLiteral("Command13"))->click();
    QVERIFY(!f.clock().timerEnabled());
    QCOMPARE(f.clock().state().temps, 0.0);
    const QImage bare = f.picture2()->surface().backgroundPicture();
    QVERIFY(withMarks != bare);
    // The bare gradient: a row is one colour from edge to edge.
    QCOMPARE(bare.pixelColor(2, 300), bare.pixelColor(100, 300));
}

void TestFeuillePCommands::colourChoice()
{
    MainWindowRig w(m_dir->path());
    FeuilleP &f = w.window;
    ColourSwatch *weight = f.onglets()->Label4(2);
    // A cancelled picker changes nothing.
    w.services.colours.enqueue(std::nullopt);
    QTest::mouseClick(weight, Qt::LeftButton);
    QCOMPARE(w.services.colourRequests, QList<QColor>({QColor(0, 192, 0)}));
    QCOMPARE(weight->colour(), QColor(0, 192, 0));

    w.services.colours.enqueue(QColor(255, 0, 0));
    QTest::mouseClick(f.onglets()->Label4(1), Qt::LeftButton);
    QCOMPARE(f.onglets()->Label4(1)->colour(), QColor(255, 0, 0));

    // The friction colour repaints the background: the marks are gone.
    f.chronoPanel()->command12()->click();
    for (int i = 0; i < 60; ++i)
        f.clock().Timer1_Timer();
    const QImage bare = f.scene().image3();
    QVERIFY(f.picture2()->surface().backgroundPicture() != bare);
    w.services.colours.enqueue(QColor(0, 0, 0));
    QTest::mouseClick(f.onglets()->Label4(4), Qt::LeftButton);
    QCOMPARE(f.picture2()->surface().backgroundPicture(), bare);
}

void TestFeuillePCommands::optionChangesRedrawTheScene()
{
    MainWindowRig w(m_dir->path());
    FeuilleP &f = w.window;
    const QImage &scene = f.sceneSurface().image();
    // The weight's arrow runs down from the sphere's centre (55, 25) in green.
    const auto weightRows = [&] {
        int n = 0;
        for (int y = 26; y < scene.height(); ++y)
            n += scene.pixelColor(55, y) == QColor(0, 192, 0);
        return n;
    };
    QCOMPARE(weightRows(), 0);
    f.vectorPanel()->Check12()->click();
    const int atStart = weightRows();
    QVERIFY(atStart > 10);
    // A shorter scale bar (spinner up) draws a shorter weight at once.
    f.vectorPanel()->VScroll3()->setValue(f.vectorPanel()->VScroll3()->value() + 20);
    QVERIFY(weightRows() > 0);
    QVERIFY(weightRows() < atStart);

    // Options set as a whole redraw as the user's clicks would.
    DisplayOptions o = f.options();
    o.showForces = false;
    o.showAxis = false;
    f.setOptions(o);
    QCOMPARE(weightRows(), 0);
    QCOMPARE(f.options(), o);
    QVERIFY(!f.displayPanel()->Check1()->isChecked());
}

void TestFeuillePCommands::quantityRedrawsTheSmallGraph_data()
{
    QTest::addColumn<QString>("fluidDensity");
    QTest::addColumn<bool>("falls");
    QTest::newRow("the sphere falls") << QStringLiteral("700") << true;
    QTest::newRow("Archimedes' thrust beats the weight") << QStringLiteral("1500") << false;
}

void TestFeuillePCommands::quantityRedrawsTheSmallGraph()
{
    QFETCH(QString, fluidDensity);
    QFETCH(bool, falls);
    MainWindowRig w(m_dir->path());
    FeuilleP &f = w.window;
    ParameterEdit *density = f.parameterPanel()->Text5(4);
    density->setFocus();
    density->selectAll();
    QTest::keyClicks(density, fluidDensity);
    f.parameterPanel()->Text5(3)->setFocus();
    QCOMPARE(f.clock().state().vlim >= 0.0, falls);

    // The first point of the curve, at the origin for the position and the
    // velocity, in the colour of the quantity chosen.
    const QImage &graph = f.graphSurface().image();
    QCOMPARE(graph.pixelColor(30, 230), QColor(0, 0, 255));
    f.displayPanel()->Option1(1)->click();
    QCOMPARE(graph.pixelColor(30, 230), QColor(255, 0, 0));
    f.displayPanel()->Option1(0)->click();
    QCOMPARE(graph.pixelColor(30, 230), QColor(0, 0, 255));

    // "Agrandir" opens the graph window only when the sphere can fall.
    int opened = 0;
    auto *command5 = f.displayPanel()->Command5();
    QObject guard; // the check goes with the test when no window opens
    QTimer::singleShot(0, &guard, [&] {
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (top->objectName() == QStringLiteral("graphes") && top->isVisible()) {
                ++opened;
                top->close();
            }
        }
    });
    command5->click();
    QCOMPARE(opened, falls ? 1 : 0);
    QCOMPARE(w.services.messages.size(), falls ? 0 : 1);
    if (!falls) {
        QCOMPARE(w.services.messages.first().title, QStringLiteral("Paramètres incorrects"));
        QCOMPARE(w.services.messages.first().text,
                 QStringLiteral("La poussée d'Archimède est supérieure au poids."));
    }
}

void TestFeuillePCommands::helpAndHooks()
{
    MainWindowRig w(m_dir->path());
    FeuilleP &f = w.window;
    f.button(QStringLiteral("Command7"))->click();
    QCOMPARE(w.services.helpPaths,
             QStringList({QDir(m_dir->path()).filePath(QStringLiteral("aide/lorva.html"))}));
    // Buttons without a window plugged in do nothing; plugged ones are called.
    f.hooks().open = nullptr;
    f.button(QStringLiteral("Command2"))->click();
    int opened = 0;
    f.hooks().open = [&] { ++opened; };
    f.button(QStringLiteral("Command2"))->click();
    QCOMPARE(opened, 1);
    QVERIFY(w.services.messages.isEmpty());
}

void TestFeuillePCommands::copyMenu()
{
    MainWindowRig w(m_dir->path());
    FeuilleP &f = w.window;
    auto *menu = f.findChild<QMenu *>(QStringLiteral("menucopie"));
    QVERIFY(menu);
    f.button(QStringLiteral("Command4"))->click();
    QVERIFY(menu->isVisible());
    QStringList texts;
    for (const QAction *action : menu->actions())
        if (!action->isSeparator())
            texts << action->text();
    QCOMPARE(
        texts,
        QStringList({QStringLiteral("Copier l'&animation"), QStringLiteral("Copier le &graphe"),
                     QStringLiteral("Enregistrer l'&image…"),
                     QStringLiteral("En&registrer le graphe…")}));
    menu->hide();

    // The saved pictures are the copied ones.
    for (const QString &name : {QStringLiteral("copim"), QStringLiteral("copigraph")}) {
        const QString saver = name == QStringLiteral("copim") ? QStringLiteral("enrim")
                                                              : QStringLiteral("enrgraph");
        const QString path = m_dir->filePath(saver + QStringLiteral(".png"));
        w.services.fileNames.enqueue(path);
        menu->findChild<QAction *>(saver)->trigger();
        menu->findChild<QAction *>(name)->trigger();
        const QImage copied = w.services.clipboardImage;
        QVERIFY(!copied.isNull());
        QCOMPARE(QImage(path, "PNG").convertToFormat(copied.format()), copied);
    }
    QVERIFY(w.services.messages.isEmpty());
}

void TestFeuillePCommands::recordingSequenceThroughWidgets()
{
    MainWindowRig w(m_dir->path());
    FeuilleP &f = w.window;
    ParameterEdit *chrono = f.chronoPanel()->chrono();
    chrono->setFocus();
    chrono->selectAll();
    QTest::keyClicks(chrono, QStringLiteral("50"));
    QTest::keyClick(chrono, Qt::Key_Return);
    QCOMPARE(chrono->text(), QStringLiteral("50"));

    // Forces and velocity on, then the camera: the clock starts recording.
    f.vectorPanel()->Check12()->click();
    f.vectorPanel()->Check5()->click();
    QTest::mouseClick(f.chronoPanel()->command12(), Qt::LeftButton);
    QVERIFY(f.clock().timerEnabled());
    QStringList shown;
    for (int i = 0; i < 9; ++i) {
        f.clock().Timer1_Timer();
        shown << f.picture4()->label3()->text()
                + (f.clock().markDue() ? QStringLiteral("*") : QStringLiteral(""));
    }
    QCOMPARE(
        shown,
        QStringList({QStringLiteral("0,00*"), QStringLiteral("0,04"), QStringLiteral("0,05*"),
                     QStringLiteral("0,09"), QStringLiteral("0,10*"), QStringLiteral("0,14"),
                     QStringLiteral("0,15*"), QStringLiteral("0,19"), QStringLiteral("0,20*")}));
    // A click on the caption is a click on the camera: the recording stops,
    // the fall goes on.
    QTest::mouseClick(f.chronoPanel()->Label5(), Qt::LeftButton);
    QVERIFY(!f.clock().recording());
    QVERIFY(f.clock().timerEnabled());
}

QTEST_MAIN(TestFeuillePCommands)
#include "tst_feuillepcommands.moc"
