// SPDX-License-Identifier: GPL-3.0-or-later
#include "afterfirstpaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {

// Watches the widget's events until its first paint, then goes away.
class AfterFirstPaint : public QObject
{
public:
    AfterFirstPaint(QWidget &widget, std::function<void()> run)
        : QObject(&widget)
        , m_widget(widget)
        , m_run(std::move(run))
    {
        setObjectName(QStringLiteral("afterFirstPaint"));
        widget.installEventFilter(this);
        QTimer::singleShot(1000, this, [this] { runOnce(); });
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            runOnce();
        return false;
    }

private:
    void runOnce()
    {
        if (m_done)
            return;
        m_done = true;
        m_widget.removeEventFilter(this);
        QTimer::singleShot(0, &m_widget, m_run);
        deleteLater();
    }

    QWidget &m_widget;
    std::function<void()> m_run;
    bool m_done = false;
};

} // namespace

void afterFirstPaint(QWidget &widget, std::function<void()> run)
{
    new AfterFirstPaint(widget, std::move(run));
}
