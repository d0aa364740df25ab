// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/chronopanel.h"
#include "mainwindow/colourswatch.h"
#include "mainwindow/feuillep.h"
#include "mainwindow/hintline.h"
#include "mainwindow/parameteredit.h"
#include "mainwindow/parameterpanel.h"
#include "mainwindow/scalespinner.h"
#include "mainwindow/tabstrip.h"
#include "mainwindow/vectorpanel.h"
#include "scene/readoutpanel.h"
#include "scriptedservices.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

namespace {

// A main window over a scratch program folder, shown and active.
struct Window
{
    explicit Window(const QString &folder)
        : window(services, folder)
    {
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCoreApplication::processEvents();
    }
    ScriptedServices services;
    FeuilleP window;
};

QString accessibleText(QObject *object, QAccessible::Text text = QAccessible::Name)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->text(text) : QString();
}

QWidget *focused()
{
    return QApplication::focusWidget();
}

void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(focused(), Qt::Key(key), modifiers);
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void focusableControlsAreNamed();
    void namesOfPaintedLabels_data();
    void namesOfPaintedLabels();
    void tabChainVisitsEveryControl();
    void tabStripArrows();
    void tabStripSwitchFromAnywhere();
    void enterAndSpacePressButtons();
    void animationShortcuts_data();
    void animationShortcuts();
    void swatchOpensPickerFromKeys();
    void spinnerAsSpinBox();
    void readoutFollowsTick();
    void hintFollowsKeyboardFocus();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestAccessibility::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestAccessibility::focusableControlsAreNamed()
{
    Window w(m_dir->path());
    int checked = 0;
    for (QWidget *widget : w.window.findChildren<QWidget *>()) {
        if (widget->focusPolicy() == Qt::NoFocus || widget->focusProxy())
            continue;
        // The text area's own viewport is part of it.
        if (qobject_cast<QTextEdit *>(widget->parentWidget()))
            continue;
        QVERIFY2(!accessibleText(widget).trimmed().isEmpty(),
                 qPrintable(widget->objectName() + QLatin1Char(' ')
                            + QLatin1String(widget->metaObject()->className())));
        ++checked;
    }
    QVERIFY(checked > 40);
}

void TestAccessibility::namesOfPaintedLabels_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("name");
    QTest::newRow("radius") << "Text5/0" << int(QAccessible::EditableText)
                            << "Rayon R, de 0,5 à 50, en cm";
    QTest::newRow("sphere density") << "Text5/5" << int(QAccessible::EditableText)
                                    << "Masse volumique de la sphère ρ, de 0,1 à 20 000, en kg/m³";
    QTest::newRow("interval") << "chrono" << int(QAccessible::EditableText)
                              << "Durée τ entre deux chronophotographies, de 10 à 5 000, en ms";
    QTest::newRow("weight colour") << "Label4/2" << int(QAccessible::Button) << "Couleur du poids";
    QTest::newRow("start") << "command15" << int(QAccessible::Button) << "Simulation";
    QTest::newRow("camera") << "command12" << int(QAccessible::Button) << "Chronophotographie";
    QTest::newRow("force scale") << "VScroll3" << int(QAccessible::SpinBox)
                                 << "Échelle des vecteurs forces";
    QTest::newRow("scene") << "Picture2" << int(QAccessible::Graphic) << "Animation";
    QTest::newRow("small graph") << "Frame1" << int(QAccessible::Graphic) << "Graphe";
    QTest::newRow("hint line") << "info" << int(QAccessible::StatusBar) << HintLine::defaultHint();
    QTest::newRow("time") << "Label3" << int(QAccessible::StaticText) << "t = 0,00 s";
}

void TestAccessibility::namesOfPaintedLabels()
{
    QFETCH(QString, control);
    QFETCH(int, role);
    QFETCH(QString, name);
    Window w(m_dir->path());
    const QStringList parts = control.split(QLatin1Char('/'));
    QWidget *widget = nullptr;
    for (QWidget *candidate : w.window.findChildren<QWidget *>(parts[0])) {
        if (parts.size() == 1 || candidate->property("index").toString() == parts[1])
            widget = candidate;
    }
    QVERIFY(widget);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(iface);
    QCOMPARE(int(iface->role()), role);
    QCOMPARE(iface->text(QAccessible::Name), name);
}

void TestAccessibility::tabChainVisitsEveryControl()
{
    Window w(m_dir->path());
    FeuilleP &f = w.window;
    // On the "Vecteurs" page, whose swatches and spinners join the chain.
    f.onglets()->selectTab(2);
    f.button(QStringLiteral("Command13"))->setFocus(Qt::TabFocusReason);
    QList<QWidget *> visited {focused()};
    for (int i = 0; i < 60 && focused() != f.supertext(); ++i) {
        press(Qt::Key_Tab);
        visited << focused();
    }
    const QList<QWidget *> expected = {f.button(QStringLiteral("Command1")),
                                       f.onglets(),
                                       f.vectorPanel()->Check12(),
                                       f.onglets()->Label4(2),
                                       f.onglets()->Label4(4),
                                       f.vectorPanel()->VScroll3(),
                                       f.onglets()->Label4(0),
                                       f.vectorPanel()->VScroll1(),
                                       f.button(QStringLiteral("command18")),
                                       f.button(QStringLiteral("command15")),
                                       f.button(QStringLiteral("command16")),
                                       f.findChild<QToolButton *>(QStringLiteral("btexo")),
                                       f.supertext()};
    qsizetype last = -1;
    for (QWidget *control : expected) {
        const qsizetype at = visited.indexOf(control);
        QVERIFY2(at > last, qPrintable(control->objectName()));
        last = at;
    }
    // Hidden pages are skipped.
    QVERIFY(!visited.contains(f.parameterPanel()->Text5(0)));

    // Backwards from the text: the exercise menu, then the animation buttons.
    press(Qt::Key_Backtab);
    QCOMPARE(focused()->objectName(), QStringLiteral("btexo"));
    press(Qt::Key_Backtab);
    QCOMPARE(focused()->objectName(), QStringLiteral("command16"));
}

void TestAccessibility::tabStripArrows()
{
    Window w(m_dir->path());
    TabStrip *strip = w.window.onglets();
    strip->setFocus(Qt::TabFocusReason);
    QCOMPARE(strip->currentTab(), 1);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(strip);
    QCOMPARE(iface->role(), QAccessible::PageTabList);
    QVERIFY(iface->childCount() >= 4);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(iface->child(i)->role(), QAccessible::PageTab);
        QCOMPARE(iface->child(i)->text(QAccessible::Name), TabStrip::tabCaption(i + 1));
        QCOMPARE(iface->child(i)->state().selected, i == 0);
    }
    QCOMPARE(iface->focusChild(), iface->child(0));

    press(Qt::Key_Right);
    QCOMPARE(strip->currentTab(), 2);
    QVERIFY(w.window.vectorPanel()->isVisible());
    QVERIFY(!w.window.parameterPanel()->isVisible());
    QVERIFY(iface->child(1)->state().selected);
    QVERIFY(!iface->child(0)->state().selected);
    press(Qt::Key_Right);
    press(Qt::Key_Right);
    press(Qt::Key_Right);
    QCOMPARE(strip->currentTab(), 4);
    QVERIFY(w.window.chronoPanel()->command12()->isVisible());
    press(Qt::Key_Left);
    QCOMPARE(strip->currentTab(), 3);
    press(Qt::Key_Home);
    QCOMPARE(strip->currentTab(), 1);
    press(Qt::Key_Left);
    QCOMPARE(strip->currentTab(), 1);
    QCOMPARE(focused(), strip);

    // The page tab's press action shows its page.
    iface->child(3)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(strip->currentTab(), 4);
}

void TestAccessibility::tabStripSwitchFromAnywhere()
{
    Window w(m_dir->path());
    FeuilleP &f = w.window;
    f.supertext()->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(f.onglets()->currentTab(), 2);
    QCOMPARE(focused(), f.supertext());
    QTest::keyClick(focused(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(f.onglets()->currentTab(), 1);
    QTest::keyClick(focused(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(f.onglets()->currentTab(), 4);
    press(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(f.onglets()->currentTab(), 1);

    // A field being edited is validated before its page goes.
    ParameterEdit *radius = f.parameterPanel()->Text5(0);
    radius->setFocus(Qt::TabFocusReason);
    radius->selectAll();
    QTest::keyClicks(radius, QStringLiteral("900"));
    press(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(f.onglets()->currentTab(), 2);
    QCOMPARE(radius->text(), QStringLiteral("50"));
    QCOMPARE(focused(), f.onglets());
}

void TestAccessibility::enterAndSpacePressButtons()
{
    Window w(m_dir->path());
    FeuilleP &f = w.window;
    QToolButton *start = f.button(QStringLiteral("command15"));
    start->setFocus(Qt::TabFocusReason);
    QVERIFY(!f.clock().timerEnabled());
    press(Qt::Key_Return);
    QVERIFY(f.clock().timerEnabled());
    // Starting gives the scene the focus, as a click does; the pause button
    // comes next in the chain and the start button before.
    QCOMPARE(focused(), f.picture2());
    press(Qt::Key_Tab);
    QCOMPARE(focused()->objectName(), QStringLiteral("command16"));
    press(Qt::Key_Space);
    QVERIFY(!f.clock().timerEnabled());
    press(Qt::Key_Backtab);
    QCOMPARE(focused()->objectName(), QStringLiteral("command15"));
    press(Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(f.clock().timerEnabled());
    f.picture2()->setFocus();
    press(Qt::Key_Backtab);
    QCOMPARE(focused()->objectName(), QStringLiteral("command15"));

    // The camera, on its page, from the keyboard.
    f.onglets()->selectTab(4);
    f.chronoPanel()->command12()->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Return);
    QVERIFY(f.clock().recording());
}

void TestAccessibility::animationShortcuts_data()
{
    QTest::addColumn<QString>("from");
    QTest::newRow("text") << "supertext";
    QTest::newRow("field") << "Text5";
    QTest::newRow("strip") << "Onglets";
    QTest::newRow("command") << "Command13";
    QTest::newRow("exercises") << "btexo";
}

void TestAccessibility::animationShortcuts()
{
    QFETCH(QString, from);
    Window w(m_dir->path());
    FeuilleP &f = w.window;
    QWidget *control = f.findChild<QWidget *>(from);
    QVERIFY(control);
    control->setFocus(Qt::TabFocusReason);
    QCOMPARE(focused(), control);
    press(Qt::Key_Space, Qt::ControlModifier);
    QVERIFY(f.clock().timerEnabled());
    f.clock().Timer1_Timer();
    QVERIFY(f.clock().state().temps > 0);
    press(Qt::Key_Space, Qt::ControlModifier);
    QVERIFY(!f.clock().timerEnabled());
    QVERIFY(f.clock().state().temps > 0);
    press(Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(f.clock().state().temps, 0.0);
}

void TestAccessibility::swatchOpensPickerFromKeys()
{
    Window w(m_dir->path());
    FeuilleP &f = w.window;
    f.onglets()->selectTab(2);
    ColourSwatch *weight = f.onglets()->Label4(2);
    weight->setFocus(Qt::TabFocusReason);
    w.services.colours.enqueue(QColor(255, 0, 0));
    press(Qt::Key_Space);
    QCOMPARE(weight->colour(), QColor(255, 0, 0));
    w.services.colours.enqueue(QColor(0, 0, 255));
    press(Qt::Key_Return);
    QCOMPARE(weight->colour(), QColor(0, 0, 255));
    QCOMPARE(w.services.colourRequests.size(), 2);
    // The accessible press action asks too.
    w.services.colours.enqueue(std::nullopt);
    QAccessible::queryAccessibleInterface(weight)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
    QCOMPARE(w.services.colourRequests.size(), 3);
}

void TestAccessibility::spinnerAsSpinBox()
{
    Window w(m_dir->path());
    FeuilleP &f = w.window;
    f.onglets()->selectTab(2);
    ScaleSpinner *forces = f.vectorPanel()->VScroll3();
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(forces);
    QVERIFY(iface->valueInterface());
    QCOMPARE(iface->valueInterface()->currentValue().toInt(), 70);
    const QString bar = VectorPanel::forceScaleText(f.vectorPanel()->expoids());
    QCOMPARE(iface->text(QAccessible::Value), bar + QStringLiteral(" pour une barre de 30 pixels"));
    forces->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Up);
    QCOMPARE(iface->valueInterface()->currentValue().toInt(), 60);
    QVERIFY(iface->text(QAccessible::Value).endsWith(QStringLiteral("de 40 pixels")));
}

void TestAccessibility::readoutFollowsTick()
{
    Window w(m_dir->path());
    FeuilleP &f = w.window;
    f.clock().command15_Click();
    f.clock().Timer1_Timer();
    ReadoutPanel *p = f.picture4();
    QCOMPARE(accessibleText(p->label3()), QStringLiteral("t = 0,04 s"));
    QCOMPARE(accessibleText(p->label1()),
             QStringLiteral("y = ") + p->label1()->text() + QStringLiteral(" m"));
    QCOMPARE(accessibleText(p->label7()),
             QStringLiteral("a = ") + p->label7()->text() + QStringLiteral(" m/s²"));
    f.clock().Timer1_Timer();
    QCOMPARE(accessibleText(p->label3()), QStringLiteral("t = 0,08 s"));
    press(Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(accessibleText(p->label3()), QStringLiteral("t = 0,00 s"));
}

void TestAccessibility::hintFollowsKeyboardFocus()
{
    Window w(m_dir->path());
    FeuilleP &f = w.window;
    HintLine &hints = f.hintLine();
    f.button(QStringLiteral("Command13"))->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Tab);
    QCOMPARE(hints.text(), QStringLiteral("Pour retrouver une situation enregistrée"));
    // A field shows its page's hint.
    f.parameterPanel()->Text5(1)->setFocus(Qt::TabFocusReason);
    QCOMPARE(hints.text(), QStringLiteral("Vous pouvez modifier tous les paramètres"));
    f.button(QStringLiteral("command16"))->setFocus(Qt::BacktabFocusReason);
    QCOMPARE(hints.text(),
             QStringLiteral("Vous pouvez activer ou arrêter l'animation ou "
                            "retrouver la position initiale."));
    // Focus given by the program or the mouse leaves the line alone.
    f.button(QStringLiteral("Command8"))->setFocus(Qt::OtherFocusReason);
    f.button(QStringLiteral("Command7"))->setFocus(Qt::MouseFocusReason);
    QCOMPARE(hints.text(),
             QStringLiteral("Vous pouvez activer ou arrêter l'animation ou "
                            "retrouver la position initiale."));
    // The text area is listed nowhere: the line keeps its text.
    f.supertext()->setFocus(Qt::TabFocusReason);
    QVERIFY(hints.text().endsWith(QStringLiteral("initiale.")));
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
