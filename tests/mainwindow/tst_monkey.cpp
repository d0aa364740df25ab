// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/numberformat.h"
#include "mainwindow/feuillep.h"
#include "mainwindow/parameteredit.h"
#include "mainwindow/parameterpanel.h"
#include "scene/readoutpanel.h"
#include "scriptedservices.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

// Random mouse and key events on the whole main window, in batches; after each
// batch nothing may show a non-number and the fall must be within its bounds.
// The environment variables LORVA_MONKEY_EVENTS and LORVA_MONKEY_SEED choose
// how many events are sent and from which seed; a failure names both so that
// the same run can be replayed.

namespace {

// Every question is cancelled (the window must stay open), every printer
// set-up too (nothing reaches a real printer); the rest as scripted.
class MonkeyServices : public ScriptedServices
{
public:
    MessageAnswer message(MessageIcon icon, const QString &title, const QString &text,
                          MessageButtons buttons = MessageButtons::Ok) override
    {
        ScriptedServices::message(icon, title, text, buttons);
        return buttons == MessageButtons::Ok   ? MessageAnswer::Ok
            : buttons == MessageButtons::YesNo ? MessageAnswer::No
                                               : MessageAnswer::Cancel;
    }
    bool printerSetup(QPrinter &) override { return false; }
};

int environmentNumber(const char *name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

// Keys a student may press: digits and the separators of numbers, letters for
// the access keys, editing and navigation keys.
const Qt::Key keys[] = {
    Qt::Key_0,      Qt::Key_1,       Qt::Key_5,      Qt::Key_9,        Qt::Key_Comma,
    Qt::Key_Period, Qt::Key_Minus,   Qt::Key_E,      Qt::Key_A,        Qt::Key_C,
    Qt::Key_I,      Qt::Key_O,       Qt::Key_P,      Qt::Key_F,        Qt::Key_Space,
    Qt::Key_Tab,    Qt::Key_Backtab, Qt::Key_Return, Qt::Key_Escape,   Qt::Key_Backspace,
    Qt::Key_Delete, Qt::Key_Left,    Qt::Key_Right,  Qt::Key_Up,       Qt::Key_Down,
    Qt::Key_Home,   Qt::Key_End,     Qt::Key_PageUp, Qt::Key_PageDown,
};

} // namespace

class TestMonkey : public QObject
{
    Q_OBJECT

private slots:
    void randomEvents();

private:
    void randomEvent();
    void check(int sent);
    QWidget *randomTarget();
    QPoint randomPoint(const QWidget *widget);

    QRandomGenerator m_random;
    FeuilleP *m_window = nullptr;
    QString m_replay;
};

QWidget *TestMonkey::randomTarget()
{
    // Buttons are small among many widgets; they are picked more often than
    // their share so that animations run and windows open.
    const bool buttonsOnly = m_random.bounded(6) == 0;
    QList<QWidget *> widgets;
    widgets << m_window;
    const QList<QWidget *> children = m_window->findChildren<QWidget *>();
    for (QWidget *w : children) {
        if (w->isVisible() && w->window() == m_window
            && (!buttonsOnly || qobject_cast<QAbstractButton *>(w)))
            widgets << w;
    }
    return widgets.at(int(m_random.bounded(qsizetype(widgets.size()))));
}

QPoint TestMonkey::randomPoint(const QWidget *widget)
{
    return QPoint(int(m_random.bounded(std::max(1, widget->width()))),
                  int(m_random.bounded(std::max(1, widget->height()))));
}

void TestMonkey::randomEvent()
{
    QWidget *target = randomTarget();
    const QPoint at = randomPoint(target);
    const auto modifiers = m_random.bounded(8) == 0 ? Qt::ShiftModifier : Qt::NoModifier;
    switch (m_random.bounded(10)) {
    case 0:
    case 1:
        QTest::mouseClick(target, Qt::LeftButton, modifiers, at);
        break;
    case 2:
        QTest::mouseClick(target, Qt::RightButton, Qt::NoModifier, at);
        break;
    case 3:
        QTest::mouseDClick(target, Qt::LeftButton, Qt::NoModifier, at);
        break;
    case 4: {
        // A drag: press, a few moves with the button held, release.
        QTest::mousePress(target, Qt::LeftButton, Qt::NoModifier, at);
        QPoint to = at;
        for (int i = 0; i < 3 && target; ++i) {
            to = randomPoint(target);
            QMouseEvent move(QEvent::MouseMove, to, target->mapToGlobal(to), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(target, &move);
        }
        QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, to);
        break;
    }
    case 5: {
        QMouseEvent move(QEvent::MouseMove, at, target->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(target, &move);
        break;
    }
    case 6: {
        const int delta = m_random.bounded(2) ? 120 : -120;
        QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(target, &wheel);
        break;
    }
    default: {
        // Keys go where the keyboard focus is, as a user's would.
        QWidget *focus = QApplication::focusWidget();
        if (!focus || focus->window() != m_window)
            focus = m_window;
        const Qt::Key key = keys[m_random.bounded(int(std::size(keys)))];
        const bool alt = m_random.bounded(6) == 0;
        QTest::keyClick(focus, key, alt ? Qt::AltModifier : modifiers);
        break;
    }
    }
}

void TestMonkey::check(int sent)
{
    const QString where = QStringLiteral("after %1 events, %2").arg(sent).arg(m_replay);
    QVERIFY2(m_window->isVisible(), qPrintable(where));

    static const QRegularExpression notANumber(QStringLiteral("\\b(nan|inf|infinity)\\b|#INF|#IND"),
                                               QRegularExpression::CaseInsensitiveOption);
    QStringList shown;
    for (const QLineEdit *field : m_window->findChildren<QLineEdit *>())
        shown << field->text();
    for (const QLabel *label : m_window->findChildren<QLabel *>())
        shown << label->text();
    for (const QString &text : std::as_const(shown))
        QVERIFY2(!notANumber.match(text).hasMatch(),
                 qPrintable(text + QStringLiteral(" ") + where));

    const SimulationState &state = m_window->clock().state();
    QVERIFY2(std::isfinite(state.tfin) && state.tfin >= 0, qPrintable(where));
    QVERIFY2(
        state.temps >= 0 && state.temps <= state.tfin * (1 + 1e-9) + 1e-12,
        qPrintable(QStringLiteral("t = %1, tfin = %2 ").arg(state.temps).arg(state.tfin) + where));
    QVERIFY2(std::isfinite(state.ypos) && state.ypos >= -1e-6f, qPrintable(where));
    // The height the model uses is the field's text once validated, so the
    // bound holds only while nobody is typing in that field. The end of the
    // fall, tfin, is searched to a thousandth of the height, so the sphere
    // may end that much below the bottom.
    const bool heightBeingTyped = QApplication::focusWidget()
        == static_cast<const QWidget *>(m_window->parameterPanel()->Text5(ParameterFields::Height));
    const auto height = NumberFormat::parse(m_window->fields().text(ParameterFields::Height));
    if (height && !heightBeingTyped)
        QVERIFY2(
            state.ypos <= *height * (1 + 1e-3) + 1e-6,
            qPrintable(QStringLiteral("y = %1, h = %2 ").arg(state.ypos).arg(*height) + where));
}

void TestMonkey::randomEvents()
{
    const int events = environmentNumber("LORVA_MONKEY_EVENTS", 1000);
    const quint32 seed = quint32(environmentNumber("LORVA_MONKEY_SEED", 20260118));
    m_random.seed(seed);
    m_replay = QStringLiteral("LORVA_MONKEY_SEED=%1 LORVA_MONKEY_EVENTS=%2").arg(seed).arg(events);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    MonkeyServices services;
    FeuilleP window(services, folder.path());
    m_window = &window;
    int exercises = 0;
    window.hooks().requestedExercise = [&](const QString &) { ++exercises; };
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // Windows the program opens modally (graph window, dialogs, menus) run
    // their own event loop; this closes them from inside it.
    QTimer closer;
    closer.setInterval(5);
    int closed = 0;
    connect(&closer, &QTimer::timeout, this, [&] {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            popup->close();
            ++closed;
        }
        if (QWidget *modal = QApplication::activeModalWidget()) {
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialog->reject();
            else
                modal->close();
            ++closed;
        }
    });
    closer.start();

    int ticksRun = 0;
    const int batch = 25;
    for (int sent = 0; sent < events;) {
        for (int i = 0; i < batch && sent < events; ++i, ++sent) {
            randomEvent();
            if (i % 10 == 0)
                QCoreApplication::processEvents();
        }
        // A running animation goes on for a while: the ticks of up to two
        // seconds, as Timer1 would give them, without waiting for them.
        QTimer *timer1 = window.findChild<QTimer *>(QStringLiteral("Timer1"));
        QVERIFY(timer1);
        // Now and then a whole fall, from the start button to the bottom.
        if (m_random.bounded(4) == 0) {
            if (QWidget *start = window.findChild<QWidget *>(QStringLiteral("command15")))
                QTest::mouseClick(start, Qt::LeftButton);
        }
        for (int ticks = int(m_random.bounded(400)); ticks > 0 && timer1->isActive(); --ticks) {
            window.clock().Timer1_Timer();
            ++ticksRun;
        }
        QCoreApplication::processEvents();
        check(sent);
        if (QTest::currentTestFailed())
            return;
    }
    qInfo("%d events, %d clock ticks, %d modal windows or menus closed, %d messages, seed %u",
          events, ticksRun, closed, int(services.messages.size()), seed);
    m_window = nullptr;
}

QTEST_MAIN(TestMonkey)
#include "tst_monkey.moc"
