// SPDX-License-Identifier: GPL-3.0-or-later
#include "configtarget.h"

#include "feuillep.h"

#include "scene/scene.h"

MainWindowConfiguration::MainWindowConfiguration(FeuilleP &window)
    : m_window(window)
{ }

Configuration MainWindowConfiguration::configuration() const
{
    Configuration c;
    for (int i = 0; i < Configuration::fieldCount; ++i)
        c.fields[i] = m_window.fields().text(i);
    c.interval = m_window.fields().intervalText();
    c.options = m_window.options();
    return c;
}

void MainWindowConfiguration::setFieldText(int index, const QString &text)
{
    m_window.fields().setText(index, text);
}

void MainWindowConfiguration::setIntervalText(const QString &text)
{
    m_window.fields().setIntervalText(text);
}

void MainWindowConfiguration::setOptions(const DisplayOptions &options)
{
    m_window.setOptions(options);
}

void MainWindowConfiguration::validateField(int index)
{
    m_window.validator().Text5_LostFocus(index);
}

void MainWindowConfiguration::majaff()
{
    m_window.scene().majaff();
}

void MainWindowConfiguration::setWindowTitle(const QString &title)
{
    m_window.setWindowTitle(title);
}
