// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "scriptedservices.h"

#include <QObject>
#include <QPointer>
#include <QRandomGenerator>
#include <QString>
#include <QTimer>
#include <QWidget>

// Every question is cancelled (the window asking must stay open), every
// printer set-up too (nothing reaches a real printer); the rest as scripted.
class MonkeyServices : public ScriptedServices
{
public:
    MessageAnswer message(MessageIcon icon, const QString &title, const QString &text,
                          MessageButtons buttons = MessageButtons::Ok) override;
    bool printerSetup(QPrinter &) override { return false; }
};

// Random mouse and key events a student could make, drawn from one seed so
// that a failing run can be replayed: clicks, double clicks, drags, moves and
// wheel turns on the visible widgets of a window, keys where the keyboard
// focus is.
class Monkey
{
public:
    explicit Monkey(quint32 seed)
        : m_random(seed)
    { }

    // One event on window or one of its widgets (of window itself, not of
    // the other windows it owns).
    void randomEvent(QWidget *window);
    // A number in [0, n) from the same seed.
    int bounded(int n) { return int(m_random.bounded(n)); }

    // The first text among window's fields, labels and text boxes that shows
    // a non-number (nan, inf, #INF…); empty when there is none.
    static QString notANumberShown(const QWidget *window);
    // A whole number from the environment, fallback when unset or not positive.
    static int environmentNumber(const char *name, int fallback);

private:
    QWidget *randomTarget(QWidget *window);
    QPoint randomPoint(const QWidget *widget);

    QRandomGenerator m_random;
};

// Windows the program opens modally (dialogs, menus, a combo box's list) run
// their own event loop; this closes them from inside it, every few
// milliseconds, except the one window it is told to keep.
class ModalCloser : public QObject
{
    Q_OBJECT

public:
    explicit ModalCloser(QObject *parent = nullptr);
    void keep(QWidget *window) { m_kept = window; }
    int closed() const { return m_closed; }

private:
    void closeOne();

    QTimer m_timer;
    QPointer<QWidget> m_kept;
    int m_closed = 0;
};
