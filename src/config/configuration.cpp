// SPDX-License-Identifier: GPL-3.0-or-later
#include "configuration.h"

#include "core/numberscanner.h"
#include "platform/recordfile.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <limits>

namespace {

using namespace ConfigurationFormat;

// The nine check boxes in the order of records 10 to 18.
constexpr bool DisplayOptions::*checks[checkCount] = {
    &DisplayOptions::showAxis,           &DisplayOptions::crossMarks,   &DisplayOptions::boldGraph,
    &DisplayOptions::showIndex,          &DisplayOptions::showVelocity, &DisplayOptions::showRuler,
    &DisplayOptions::keepVectorsOnMarks, &DisplayOptions::showForces,   &DisplayOptions::slowMotion,
};

// The 24 texts of a configuration, record 1 first.
std::array<QString, recordCount> textsOf(const Configuration &c)
{
    std::array<QString, recordCount> texts;
    auto at = [&texts](int record) -> QString & { return texts[std::size_t(record - 1)]; };
    at(1) = QString::fromLatin1(magic);
    for (int i = 0; i < Configuration::fieldCount; ++i)
        at(firstField + i) = c.fields[std::size_t(i)];
    at(velocityScale) = QString::number(c.options.velocityScale);
    at(forceScale) = QString::number(c.options.forceScale);
    at(interval) = c.interval;
    for (int i = 0; i < checkCount; ++i)
        at(firstCheck + i) = c.options.*checks[i] ? QStringLiteral("1") : QStringLiteral("0");
    at(graphQuantity) = QString::number(c.options.graphQuantity);
    for (int i = 0; i < DisplayOptions::swatchCount; ++i)
        at(firstColour + i) = QString::number(c.options.colours[std::size_t(i)]);
    return texts;
}

} // namespace

std::optional<double> storedNumber(const QString &text)
{
    const auto result = NumberScanner::toDouble(text, NumberScanner::Options());
    switch (result.status) {
    case NumberScanner::Status::NoNumber:
        return 0.0;
    case NumberScanner::Status::Overflow:
        return std::nullopt;
    case NumberScanner::Status::Ok:
    case NumberScanner::Status::Underflow:
        break;
    }
    return result.value;
}

std::optional<qint64> storedInteger(const QString &text, qint64 minimum, qint64 maximum)
{
    const std::optional<double> number = storedNumber(text);
    if (!number)
        return std::nullopt;
    // nearbyint rounds ties to even in the default rounding mode.
    const double value = std::nearbyint(*number);
    if (!(value >= double(minimum) && value <= double(maximum)))
        return std::nullopt;
    return qint64(value);
}

std::optional<Configuration> ConfigurationReader::fail(Error error, const QString &why)
{
    m_error = error;
    m_errorString = why;
    return std::nullopt;
}

std::optional<Configuration> ConfigurationReader::read(const QByteArray &bytes)
{
    m_error = NoError;
    m_errorString.clear();
    RecordFile file;
    file.setBytes(bytes);

    // The magic first: a file of another kind is named as such even when it
    // is also too short or damaged.
    // A first record too damaged to read is no configuration either.
    const std::optional<QString> first = file.read(1);
    if (!first || *first != QLatin1String(magic))
        return fail(NotThisApplication,
                    QStringLiteral("Le premier enregistrement n'est pas « LORVA »"));
    if (!file.holdsRecord(recordCount))
        return fail(Unreadable,
                    QStringLiteral("Fichier tronqué avant l'enregistrement %1").arg(recordCount));

    std::array<QString, recordCount + 1> text;
    for (int record = 2; record <= recordCount; ++record) {
        std::optional<QString> t = file.read(record);
        if (!t)
            return fail(
                Unreadable,
                QStringLiteral("Enregistrement %1 : %2").arg(record).arg(file.errorString()));
        text[std::size_t(record)] = *t;
    }
    auto integer = [&](int record, qint64 minimum, qint64 maximum) {
        return storedInteger(text[std::size_t(record)], minimum, maximum);
    };
    auto outOfRange = [this](int record) {
        return fail(Unreadable,
                    QStringLiteral("Enregistrement %1 : valeur hors limites").arg(record));
    };

    Configuration c;
    for (int i = 0; i < Configuration::fieldCount; ++i)
        c.fields[std::size_t(i)] = text[std::size_t(firstField + i)];
    c.interval = text[std::size_t(interval)];

    DisplayOptions &o = c.options;
    const auto velocity
        = integer(velocityScale, DisplayOptions::scaleMinimum, DisplayOptions::scaleMaximum);
    if (!velocity)
        return outOfRange(velocityScale);
    const auto force
        = integer(forceScale, DisplayOptions::scaleMinimum, DisplayOptions::scaleMaximum);
    if (!force)
        return outOfRange(forceScale);
    o.velocityScale = int(*velocity);
    o.forceScale = int(*force);

    // Checked only for the value 1: a greyed box (2) or any other number
    // comes back unchecked; a number too large for any field is an error.
    for (int i = 0; i < checkCount; ++i) {
        const std::optional<double> state = storedNumber(text[std::size_t(firstCheck + i)]);
        if (!state)
            return outOfRange(firstCheck + i);
        o.*checks[i] = *state == 1.0;
    }

    const auto quantity
        = integer(graphQuantity, DisplayOptions::Position, DisplayOptions::Acceleration);
    if (!quantity)
        return outOfRange(graphQuantity);
    o.graphQuantity = int(*quantity);

    for (int i = 0; i < DisplayOptions::swatchCount; ++i) {
        const auto colour = integer(firstColour + i, std::numeric_limits<qint32>::min(),
                                    std::numeric_limits<qint32>::max());
        if (!colour)
            return outOfRange(firstColour + i);
        o.colours[std::size_t(i)] = qint32(*colour);
    }
    return c;
}

std::optional<Configuration> ConfigurationReader::read(QIODevice &device)
{
    // The 24 records and nothing more, whatever the size of the file.
    RecordFile file;
    if (!file.load(device, recordCount))
        return fail(Unreadable, file.errorString());
    return read(file.bytes());
}

std::optional<Configuration> ConfigurationReader::load(const QString &path)
{
    // Checked first so that nothing below can create the file.
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return fail(Unreadable, QStringLiteral("Fichier introuvable : %1").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::ExistingOnly))
        return fail(Unreadable, file.errorString());
    return read(file);
}

std::optional<QByteArray> ConfigurationWriter::toBytes(const Configuration &configuration)
{
    m_errorString.clear();
    const std::array<QString, recordCount> texts = textsOf(configuration);
    RecordFile file;
    for (int record = 1; record <= recordCount; ++record) {
        const QString &text = texts[std::size_t(record - 1)];
        if (!RecordFile::fitsWindows1252(text)) {
            m_errorString
                = QStringLiteral("Enregistrement %1 : caractère impossible à écrire").arg(record);
            return std::nullopt;
        }
        if (!file.write(record, text)) {
            m_errorString
                = QStringLiteral("Enregistrement %1 : %2").arg(record).arg(file.errorString());
            return std::nullopt;
        }
    }
    return file.bytes();
}

bool ConfigurationWriter::write(const Configuration &configuration, QIODevice &device)
{
    const std::optional<QByteArray> bytes = toBytes(configuration);
    if (!bytes)
        return false;
    if (!device.isWritable()) {
        m_errorString = QStringLiteral("Fichier non ouvert en écriture");
        return false;
    }
    if (device.write(*bytes) != bytes->size()) {
        m_errorString = device.errorString();
        return false;
    }
    return true;
}

bool ConfigurationWriter::save(const Configuration &configuration, const QString &path)
{
    // The texts are checked before the file is opened: a refused text leaves
    // no trace on disk.
    const std::optional<QByteArray> bytes = toBytes(configuration);
    if (!bytes)
        return false;
    RecordFile file(path);
    file.setBytes(*bytes);
    if (!file.commit()) {
        m_errorString = file.errorString();
        return false;
    }
    return true;
}
