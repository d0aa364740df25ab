// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/parameterfields.h"

class ChronoPanel;
class ParameterPanel;

// The six parameter fields Text5 of the "Paramètres" panel and the interval
// field chrono of the "Chronophotographie" panel, as the core reads and
// writes them. The tab strip that owns both panels owns this adapter.
class PanelFields : public ParameterFields
{
public:
    PanelFields(ParameterPanel &parameters, ChronoPanel &chrono);

    QString text(int index) const override;
    void setText(int index, const QString &text) override;
    QString intervalText() const override;
    void setIntervalText(const QString &text) override;

private:
    ParameterPanel &m_parameters;
    ChronoPanel &m_chrono;
};
