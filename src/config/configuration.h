// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/displayoptions.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

class QIODevice;

// Everything the user sets on the main window, as a configuration file
// (".P18") keeps it: the five physical parameters and the chronophotography
// interval as typed (the sphere density is derived again from mass and
// radius), and the display options.
struct Configuration
{
    static constexpr int fieldCount = 5; // radius, mass, height, viscosity, fluid density
    std::array<QString, fieldCount> fields;
    QString interval;
    DisplayOptions options;

    bool operator==(const Configuration &) const = default;
};

// The layout of a configuration file: 24 records of the record file, each
// holding one text.
//   1      the magic "LORVA"
//   2..6   the five fields (radius, mass, height, viscosity, fluid density)
//   7, 8   the velocity and force scales (VScroll1, VScroll3), 0..90
//   9      the chronophotography interval
//   10..18 the check boxes Check1, Check2, Check3, Check4, Check5, Check6,
//          Check9, Check12 and speed: "1" checked, "0" not
//   19     the graph quantity, 0..2
//   20..24 the swatch colours Label4(0..4), signed 32-bit decimal
// Numbers are stored as text in decimal.
namespace ConfigurationFormat {
constexpr int recordCount = 24;
inline const char magic[] = "LORVA";
constexpr int firstField = 2;
constexpr int velocityScale = 7;
constexpr int forceScale = 8;
constexpr int interval = 9;
constexpr int firstCheck = 10;
constexpr int checkCount = 9;
constexpr int graphQuantity = 19;
constexpr int firstColour = 20;
} // namespace ConfigurationFormat

// Reads a configuration from bytes, a device or a file. Nothing is returned
// unless all 24 records were read and every value is acceptable, so a caller
// never applies half a file. Numbers are read as the number a text starts
// with (a decimal point, never a comma; no number is 0; a number beyond the
// range of a double is an error), integers rounded to the nearest with ties
// to even. Only the 24 records are read, whatever the size of the file.
class ConfigurationReader
{
public:
    enum Error {
        NoError,
        // The first record is not exactly "LORVA" (an empty file included).
        NotThisApplication,
        // The file is missing, cannot be read, ends before its 24th record,
        // holds a damaged record or a value out of its range.
        Unreadable,
    };

    std::optional<Configuration> read(const QByteArray &bytes);
    std::optional<Configuration> read(QIODevice &device);
    // Never creates the file: a missing path is Unreadable.
    std::optional<Configuration> load(const QString &path);

    Error error() const { return m_error; }
    // What was wrong, in French, for a log or a test; the messages shown to
    // the user are the caller's.
    QString errorString() const { return m_errorString; }

private:
    std::optional<Configuration> fail(Error error, const QString &why);

    Error m_error = NoError;
    QString m_errorString;
};

// Writes a configuration. Every text must fit its record (126 bytes) and be
// written in Windows-1252 without loss; otherwise nothing is written. The
// filler after each text is zeros.
class ConfigurationWriter
{
public:
    std::optional<QByteArray> toBytes(const Configuration &configuration);
    bool write(const Configuration &configuration, QIODevice &device);
    // Replaces the file at path atomically: on any failure the previous file
    // is left as it was.
    bool save(const Configuration &configuration, const QString &path);

    QString errorString() const { return m_errorString; }

private:
    QString m_errorString;
};

// The number value of a stored text: the number it starts with (a decimal
// point, never a comma), 0 when it starts with none; nothing when the number
// is beyond the range of a double ("1e999").
std::optional<double> storedNumber(const QString &text);

// The number value of a stored text rounded to the nearest integer, ties to
// even; nothing when it falls outside [minimum, maximum] or is beyond the
// range of a double.
std::optional<qint64> storedInteger(const QString &text, qint64 minimum, qint64 maximum);
