// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// The hourglass over a widget while a window opens, a file is read or saved
// or pages are printed; the widget's own pointer comes back however the work
// ends.
class WaitCursor
{
public:
    explicit WaitCursor(QWidget *widget)
        : m_widget(widget)
    {
        m_widget->setCursor(Qt::WaitCursor);
    }
    ~WaitCursor() { m_widget->unsetCursor(); }

    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;

private:
    QWidget *m_widget;
};
