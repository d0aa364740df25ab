// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <limits>
#include <vector>

class QIODevice;

// The file of a series of falls, which a teacher prepares once: UTF-8 text,
//
//   # Lorva : série de chutes
//   fluide = 1260 ± 3 kg/m3
//   tube = 93,5 ± 0,5 mm
//
//   [essai]
//   fichier = chute 1.csv
//   rayon = 3,155 ± 0,005 mm
//   masse-volumique = 7800 ± 20 kg/m3
//   retenu = oui
//
// The first line names the format. "clé = valeur" lines follow; a value is a
// number (decimal comma or point), an optional "± u" (or "+- u") and an
// optional unit: m, cm, mm for lengths, kg, g, mg for masses, kg/m3, g/cm3
// for densities (SI without). Each [essai] has a file (relative to the series
// file's folder, or absolute), a radius, and a mass or a density; "tube" and
// "retenu" (oui/non) are optional. Lines starting with # are comments.
struct SeriesFileTrial
{
    static constexpr double nan = std::numeric_limits<double>::quiet_NaN();

    QString file;
    double radius = nan, radiusU = 0.0;   // m
    double mass = nan, massU = 0.0;       // kg; NaN when the density is given
    double density = nan, densityU = 0.0; // kg/m³; NaN when the mass is given
    bool used = true;
};

struct SeriesFileData
{
    double fluidDensity = SeriesFileTrial::nan, fluidDensityU = 0.0; // kg/m³
    double tubeDiameter = SeriesFileTrial::nan, tubeDiameterU = 0.0; // m; NaN: no tube
    std::vector<SeriesFileTrial> trials;
};

class SeriesFileReader
{
public:
    static constexpr qint64 maxBytes = 256 * 1024;
    static constexpr int maxTrials = 200;

    // Reads a whole series; false with a French errorString() (and an empty
    // series) when the bytes are not one. Never reads more than maxBytes + 1.
    bool read(QIODevice *device);
    bool read(const QByteArray &bytes);

    const SeriesFileData &series() const { return m_series; }
    QString errorString() const { return m_error; }

private:
    bool fail(const QString &error);

    SeriesFileData m_series;
    QString m_error;
};

namespace SeriesFile {

// Whether the bytes start with the format's first line (a byte-order mark
// before it allowed).
bool isSeries(const QByteArray &start);

// The series as the file holds it, file paths as given.
QByteArray bytes(const SeriesFileData &series);

// Writes bytes(series) to path through the atomic save; the trials' paths
// are written relative to path's folder. false with a French error.
bool save(const QString &path, const SeriesFileData &series, QString *error);

// Reads the series file at path; the trials' paths come back resolved
// against its folder.
bool load(const QString &path, SeriesFileData *series, QString *error);

} // namespace SeriesFile
