// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercisedescriptor.h"

#include "core/numberformat.h"
#include "platform/recordfile.h"

#include <QFileInfo>

#include <cmath>

namespace {

bool isBlank(const QString &text)
{
    return text.trimmed().isEmpty();
}

} // namespace

bool ExerciseDescriptor::read(const QString &path, Scope scope)
{
    *this = ExerciseDescriptor();
    const int last = scope == Scope::FileNames ? 4 : 12;
    // The one place that reads descriptor records.
    RecordFile file(path);
    QStringList records;
    if (!QFileInfo::exists(path)) {
        m_error = QStringLiteral("Le fichier %1 est introuvable.").arg(path);
        return false;
    }
    if (!file.load()) {
        m_error = file.errorString();
        return false;
    }
    for (int record = 1; record <= last; ++record) {
        const std::optional<QString> text = file.read(record);
        if (!text) {
            m_error = file.errorString();
            return false;
        }
        records.append(*text);
    }
    m_statement = records.at(0);
    m_configuration = records.at(1);
    m_correction = records.at(2);
    m_correctionConfiguration = records.at(3);
    if (scope == Scope::Everything) {
        m_difficulty = NumberFormat::leadingValue(records.at(4));
        m_notions = records.mid(6, 4);
        m_title = records.at(10);
        m_symbolValue = NumberFormat::leadingValue(records.at(11));
    }
    return true;
}

bool ExerciseDescriptor::hasCorrection() const
{
    return !isBlank(m_correction) || !isBlank(m_correctionConfiguration);
}

int ExerciseDescriptor::litLamps() const
{
    int lit = 0;
    for (int lamp = 0; lamp < lampCount; ++lamp)
        lit += lampLit(lamp) ? 1 : 0;
    return lit;
}

QString ExerciseDescriptor::notionsText() const
{
    QString text;
    for (const QString &notion : m_notions) {
        if (!isBlank(notion))
            text += notion;
    }
    return text;
}

int ExerciseDescriptor::symbolCount() const
{
    const double rounded = std::nearbyint(m_symbolValue);
    if (!(rounded > 0))
        return 0;
    return int(std::min(rounded, double(maxSymbols)));
}
