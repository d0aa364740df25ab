// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/simulationstate.h"
#include "graphs/graphcommands.h"
#include "graphs/graphes.h"
#include "support/scriptedservices.h"

#include <QTest>
#include <QWidget>

class TestGraphCommands : public QObject
{
    Q_OBJECT

private slots:
    void thrustAboveWeight_data();
    void thrustAboveWeight();
    void opensOverTheMainWindow();
};

void TestGraphCommands::thrustAboveWeight_data()
{
    QTest::addColumn<bool>("button");
    QTest::newRow("click on the small graph") << false;
    QTest::newRow("\"Agrandir\"") << true;
}

// Both ways into the graph window refuse a fall upwards alike.
void TestGraphCommands::thrustAboveWeight()
{
    QFETCH(bool, button);
    QWidget main;
    SimulationState state;
    state.vlim = -0.01;
    ScriptedServices services;
    GraphCommands commands(
        main, state, [] { return DisplayOptions(); }, services);
    int stops = 0;
    int shown = 0;
    commands.hooks().stopTimer = [&] { ++stops; };
    commands.hooks().showModal = [&](QDialog *) { return ++shown; };
    QWidget control;
    control.setCursor(Qt::PointingHandCursor);
    if (button)
        commands.Command5_Click(&control);
    else
        commands.Frame1_Click(&control);
    QCOMPARE(shown, 0);
    QCOMPARE(control.cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(stops, 1);
    QCOMPARE(services.messages.size(), 1);
    QCOMPARE(services.messages.first().icon, MessageIcon::Error);
    QCOMPARE(services.messages.first().title, QStringLiteral("Paramètres incorrects"));
    QCOMPARE(services.messages.first().text,
             QStringLiteral("La poussée d'Archimède est supérieure au poids."));
}

void TestGraphCommands::opensOverTheMainWindow()
{
    QWidget main;
    main.setWindowTitle(QStringLiteral("Lorva avec frottement"));
    main.setGeometry(40, 60, 800, 572);
    SimulationState state;
    state.vlim = 0.1;
    state.tau = 1.0;
    state.tfin = 11.0;
    ScriptedServices services;
    GraphCommands commands(
        main, state, [] { return DisplayOptions(); }, services);
    QWidget frame1;
    frame1.setCursor(Qt::PointingHandCursor);
    QRect geometry;
    QString title;
    Qt::CursorShape busy = Qt::ArrowCursor;
    commands.hooks().showModal = [&](QDialog *window) {
        geometry = window->geometry();
        title = window->windowTitle();
        busy = frame1.cursor().shape();
        return 0;
    };
    commands.Frame1_Click(&frame1);
    QCOMPARE(geometry, main.geometry());
    QCOMPARE(title, QStringLiteral("Lorva avec frottement"));
    QCOMPARE(busy, Qt::WaitCursor);
    QCOMPARE(frame1.cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(services.messages.isEmpty());
}

QTEST_MAIN(TestGraphCommands)
#include "tst_graphcommands.moc"
