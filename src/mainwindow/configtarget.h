// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/chargeconfig.h"

class FeuilleP;

// The main window as a configuration file reads and writes it: the five
// field texts, the interval, the display options, the validation of the
// fields, the scene's refresh and the window's title.
class MainWindowConfiguration : public ConfigurationTarget
{
public:
    explicit MainWindowConfiguration(FeuilleP &window);

    Configuration configuration() const override;
    void setFieldText(int index, const QString &text) override;
    void setIntervalText(const QString &text) override;
    void setOptions(const DisplayOptions &options) override;
    void validateField(int index) override;
    void majaff() override;
    void setWindowTitle(const QString &title) override;

private:
    FeuilleP &m_window;
};
