// SPDX-License-Identifier: GPL-3.0-or-later
#include "monkey.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>
#include <QWheelEvent>

#include <iterator>

namespace {

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

MessageAnswer MonkeyServices::message(MessageIcon icon, const QString &title, const QString &text,
                                      MessageButtons buttons)
{
    ScriptedServices::message(icon, title, text, buttons);
    return buttons == MessageButtons::Ok   ? MessageAnswer::Ok
        : buttons == MessageButtons::YesNo ? MessageAnswer::No
                                           : MessageAnswer::Cancel;
}

int Monkey::environmentNumber(const char *name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

QWidget *Monkey::randomTarget(QWidget *window)
{
    // Buttons are small among many widgets; they are picked more often than
    // their share so that animations run and windows open.
    const bool buttonsOnly = m_random.bounded(6) == 0;
    QList<QWidget *> widgets;
    widgets << window;
    const QList<QWidget *> children = window->findChildren<QWidget *>();
    for (QWidget *w : children) {
        if (w->isVisible() && w->window() == window
            && (!buttonsOnly || qobject_cast<QAbstractButton *>(w)))
            widgets << w;
    }
    return widgets.at(int(m_random.bounded(qsizetype(widgets.size()))));
}

QPoint Monkey::randomPoint(const QWidget *widget)
{
    return QPoint(int(m_random.bounded(std::max(1, widget->width()))),
                  int(m_random.bounded(std::max(1, widget->height()))));
}

void Monkey::randomEvent(QWidget *window)
{
    QWidget *target = randomTarget(window);
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
        if (!focus || focus->window() != window)
            focus = window;
        const Qt::Key key = keys[m_random.bounded(int(std::size(keys)))];
        const bool alt = m_random.bounded(6) == 0;
        QTest::keyClick(focus, key, alt ? Qt::AltModifier : modifiers);
        break;
    }
    }
}

QString Monkey::notANumberShown(const QWidget *window)
{
    static const QRegularExpression notANumber(QStringLiteral("\\b(nan|inf|infinity)\\b|#INF|#IND"),
                                               QRegularExpression::CaseInsensitiveOption);
    QStringList shown;
    for (const QLineEdit *field : window->findChildren<QLineEdit *>())
        shown << field->text();
    for (const QLabel *label : window->findChildren<QLabel *>())
        shown << label->text();
    for (const QPlainTextEdit *box : window->findChildren<QPlainTextEdit *>())
        shown << box->toPlainText();
    for (const QString &text : std::as_const(shown)) {
        if (notANumber.match(text).hasMatch())
            return text;
    }
    return {};
}

ModalCloser::ModalCloser(QObject *parent)
    : QObject(parent)
{
    m_timer.setInterval(5);
    connect(&m_timer, &QTimer::timeout, this, &ModalCloser::closeOne);
    m_timer.start();
}

void ModalCloser::closeOne()
{
    if (QWidget *popup = QApplication::activePopupWidget()) {
        popup->close();
        ++m_closed;
    }
    QWidget *modal = QApplication::activeModalWidget();
    if (modal && modal != m_kept) {
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
        ++m_closed;
    }
}
