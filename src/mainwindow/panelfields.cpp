// SPDX-License-Identifier: GPL-3.0-or-later
#include "panelfields.h"

#include "chronopanel.h"
#include "parameteredit.h"
#include "parameterpanel.h"

PanelFields::PanelFields(ParameterPanel &parameters, ChronoPanel &chrono)
    : m_parameters(parameters)
    , m_chrono(chrono)
{ }

QString PanelFields::text(int index) const
{
    return m_parameters.Text5(index)->text();
}

void PanelFields::setText(int index, const QString &text)
{
    m_parameters.Text5(index)->setText(text);
}

QString PanelFields::intervalText() const
{
    return m_chrono.chrono()->text();
}

void PanelFields::setIntervalText(const QString &text)
{
    m_chrono.chrono()->setText(text);
}
