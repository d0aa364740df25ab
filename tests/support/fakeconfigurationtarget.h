// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/chargeconfig.h"

#include <QStringList>

#include <functional>

// A configuration target over plain values that logs every call in order,
// so that tests see what reached the main window and when.
class FakeConfigurationTarget : public ConfigurationTarget
{
public:
    Configuration configuration() const override { return current; }
    void setFieldText(int index, const QString &text) override
    {
        current.fields[std::size_t(index)] = text;
        record(QStringLiteral("field %1 %2").arg(index).arg(text));
    }
    void setIntervalText(const QString &text) override
    {
        current.interval = text;
        record(QStringLiteral("interval ") + text);
    }
    void setOptions(const DisplayOptions &options) override
    {
        current.options = options;
        record(QStringLiteral("options"));
    }
    void validateField(int index) override { record(QStringLiteral("validate %1").arg(index)); }
    void majaff() override { record(QStringLiteral("majaff")); }
    void setWindowTitle(const QString &text) override
    {
        title = text;
        record(QStringLiteral("title ") + text);
    }

    Configuration current;
    QString title;
    QStringList calls;
    // Run at every call, after it is logged.
    std::function<void()> onCall;

private:
    void record(const QString &call)
    {
        calls.append(call);
        if (onCall)
            onCall();
    }
};
