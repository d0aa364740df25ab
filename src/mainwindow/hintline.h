// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

class QLabel;
class QWidget;

// The hint line under the animation buttons: moving the mouse over a listed
// control writes its hint there; over any other control the line keeps its
// text. Each control counts only where no child control lies under the
// pointer, so a panel's hint does not show over the panel's own controls.
class HintLine : public QObject
{
    Q_OBJECT

public:
    explicit HintLine(QLabel *info, QObject *parent = nullptr);

    static QString defaultHint();

    // The control shows text when the mouse moves over it.
    void add(QWidget *control, const QString &text);
    // The control's hint is computed when the mouse moves over it.
    void add(QWidget *control, std::function<QString()> text);

    // The control took the focus from the keyboard: the hint line shows the
    // hint of the control, or of the nearest listed control holding it below
    // window (a parameter field shows its panel's hint); with none listed it
    // keeps its text.
    void focusEntered(QWidget *control, const QWidget *window);

    void show(const QString &text);
    QString text() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *m_info;
    QHash<QObject *, std::function<QString()>> m_hints;
};
