// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/parameterfields.h"

#include <QStringList>

// The parameter fields as plain strings, holding the program's defaults with
// the sphere density already made consistent (807).
class FakeFields : public ParameterFields
{
public:
    FakeFields() = default;
    explicit FakeFields(const QStringList &texts)
        : texts(texts)
    { }

    QString text(int index) const override { return texts.value(index); }
    void setText(int index, const QString &text) override
    {
        texts[index] = text;
        ++writes;
    }
    QString intervalText() const override { return interval; }
    void setIntervalText(const QString &text) override { interval = text; }

    QStringList texts {QStringLiteral("3,5"), QStringLiteral("145"), QStringLiteral("1"),
                       QStringLiteral("0,2"), QStringLiteral("800"), QStringLiteral("807")};
    QString interval = QStringLiteral("1000");
    int writes = 0;
};
