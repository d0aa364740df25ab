// SPDX-License-Identifier: GPL-3.0-or-later
// The Série tab's files: the series file opened and saved, the table
// exported, the report printed.
#include "seriespanel.h"

#include "seriesreport.h"

#include "core/atomicsave.h"
#include "core/csvtext.h"
#include "core/numberformat.h"
#include "measures/columnchoice.h"
#include "measures/measurementreader.h"
#include "measures/seriesfile.h"
#include "output/textprinting.h"
#include "platform/filemessages.h"
#include "platform/platformservices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QStandardPaths>

#include <cmath>

namespace {

// A fall's file read as the window first reads it: its suggested columns.
std::optional<MeasurementSet> readFall(const QString &path, QString *why)
{
    QFile file(path);
    const QString shown = QFileInfo(path).fileName();
    if (!file.open(QIODevice::ReadOnly)) {
        *why = QStringLiteral("Impossible d'ouvrir le fichier « %1 ».").arg(shown);
        return std::nullopt;
    }
    MeasurementReader reader;
    if (!reader.read(&file)) {
        *why = QStringLiteral("« %1 » : %2").arg(shown, reader.errorString());
        return std::nullopt;
    }
    const MeasurementTable table = reader.takeTable();
    std::optional<MeasurementSet> set = toMeasurementSet(table, defaultChoice(table), why);
    if (set)
        set->sourceName = shown;
    else
        *why = QStringLiteral("« %1 » : %2").arg(shown, *why);
    return set;
}

// The points a fall's fit may use, as a table the window reads back: time
// and position in SI units, the position's u when it has one.
QByteArray pointsTable(const MeasurementSet &set)
{
    bool sigma = true;
    for (const MeasuredPoint &p : set.points)
        sigma = sigma && (!p.included() || std::isfinite(p.sigma));
    QList<QStringList> rows;
    rows << (sigma ? QStringList {QStringLiteral("t (s)"), QStringLiteral("y (m)"),
                                  QStringLiteral("u(y) (m)")}
                   : QStringList {QStringLiteral("t (s)"), QStringLiteral("y (m)")});
    for (const MeasuredPoint &p : set.points) {
        if (!p.included())
            continue;
        QStringList row {NumberFormat::generalDouble(p.t), NumberFormat::generalDouble(p.y)};
        if (sigma)
            row << NumberFormat::generalDouble(p.sigma);
        rows << row;
    }
    return CsvText::bytes(CsvText::text(rows));
}

QString documents()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

} // namespace

void SeriesPanel::ouvrirSerie_Click()
{
    FileDialogRequest request;
    request.title = QStringLiteral("Ouvrir une série de chutes");
    request.filter = QStringLiteral("Séries (*.txt *.serie);;Tous les fichiers (*)");
    request.directory = m_folder.isEmpty() ? documents() : m_folder;
    const std::optional<QString> name = m_services.openFileName(request);
    if (!name || name->isEmpty())
        return;
    m_folder = QFileInfo(*name).absolutePath();
    QString why;
    if (!openSeries(*name, &why))
        error(why);
}

bool SeriesPanel::openSeries(const QString &path, QString *why)
{
    SeriesFileData series;
    if (!SeriesFile::load(path, &series, why))
        return false;
    const FitOptions options = m_hooks.fitOptions ? m_hooks.fitOptions() : FitOptions();
    std::vector<SeriesEntry> previous = std::move(m_entries);
    m_entries.clear();
    QStringList problems;
    for (size_t i = 0; i < series.trials.size(); ++i) {
        const SeriesFileTrial &t = series.trials[i];
        QString problem;
        std::optional<MeasurementSet> set = readFall(t.file, &problem);
        SeriesFall fall;
        fall.file = t.file;
        fall.options = options;
        fall.setup.radius = t.radius;
        fall.setup.fluidDensity = series.fluidDensity;
        fall.setup.tubeDiameter = series.tubeDiameter;
        fall.inputs.model = options.model;
        fall.inputs.radius = t.radius;
        fall.inputs.uRadius = t.radiusU;
        if (std::isfinite(t.mass)) {
            fall.setup.mass = t.mass;
            fall.inputs.mass = t.mass;
            fall.inputs.uMass = t.massU;
        } else {
            fall.setup.mass = FallSetup::massFromDensity(t.radius, t.density);
            fall.inputs.sphereDensity = t.density;
            fall.inputs.uSphereDensity = t.densityU;
        }
        fall.inputs.fluidDensity = series.fluidDensity;
        fall.inputs.uFluidDensity = series.fluidDensityU;
        fall.inputs.tubeDiameter = series.tubeDiameter;
        fall.inputs.uTubeDiameter = series.tubeDiameterU;
        if (set) {
            fall.set = std::move(*set);
            fall.label = fall.set.sourceName;
            problem = fall.setup.problem();
        }
        if (problem.isEmpty() && addFall(fall, &problem)) {
            m_entries.back().trial.used = t.used;
            continue;
        }
        problems << QStringLiteral("Essai %1 : %2").arg(i + 1).arg(problem);
    }
    if (m_entries.empty()) {
        m_entries = std::move(previous);
        refresh();
        *why = QStringLiteral("Aucun essai de la série « %1 » n'a pu être ajusté.\n")
                   .arg(QFileInfo(path).fileName())
            + problems.join(QLatin1Char('\n'));
        return false;
    }
    refresh();
    status->setText(QStringLiteral("Série « %1 » : %2 essais.")
                        .arg(QFileInfo(path).fileName())
                        .arg(m_entries.size()));
    if (!problems.isEmpty())
        error(QStringLiteral("Des essais de la série « %1 » sont laissés hors de la série :\n")
                  .arg(QFileInfo(path).fileName())
              + problems.join(QLatin1Char('\n')));
    return true;
}

std::optional<QString> SeriesPanel::askSaveName(const QString &title, const QString &filter,
                                                const QString &fileName)
{
    FileDialogRequest request;
    request.title = title;
    request.filter = filter;
    request.defaultExtension = QFileInfo(fileName).suffix();
    request.directory = m_folder.isEmpty() ? documents() : m_folder;
    request.fileName = fileName;
    const std::optional<QString> name = m_services.saveFileName(request);
    if (!name || name->isEmpty())
        return std::nullopt;
    m_folder = QFileInfo(*name).absolutePath();
    return name;
}

void SeriesPanel::enregistrerSerie_Click()
{
    if (m_entries.empty())
        return;
    const std::optional<QString> name
        = askSaveName(QStringLiteral("Enregistrer la série"), QStringLiteral("Séries (*.txt)"),
                      QStringLiteral("série.txt"));
    if (!name)
        return;
    const QFileInfo info(*name);
    SeriesFileData series;
    const SeriesFall &first = m_entries.front().fall;
    series.fluidDensity = first.setup.fluidDensity;
    series.fluidDensityU = first.inputs.uFluidDensity;
    series.tubeDiameter = first.setup.tubeDiameter;
    series.tubeDiameterU = first.inputs.uTubeDiameter;
    QStringList written;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        SeriesEntry &e = m_entries[i];
        // A paste or a video has no file: its points go beside the series.
        if (e.fall.file.isEmpty()) {
            const QString path = info.dir().filePath(
                QStringLiteral("%1 essai %2.csv").arg(info.completeBaseName()).arg(i + 1));
            QString detail;
            if (!AtomicSave::write(path, pointsTable(e.fall.set), &detail)) {
                error(FileMessages::notWritten(path, detail));
                return;
            }
            e.fall.file = path;
            written << QFileInfo(path).fileName();
        }
        SeriesFileTrial t;
        t.file = e.fall.file;
        t.radius = e.fall.inputs.radius;
        t.radiusU = e.fall.inputs.uRadius;
        if (e.fall.inputs.fromDensity()) {
            t.density = e.fall.inputs.sphereDensity;
            t.densityU = e.fall.inputs.uSphereDensity;
        } else {
            t.mass = e.fall.inputs.mass;
            t.massU = e.fall.inputs.uMass;
        }
        t.used = e.trial.used;
        series.trials.push_back(t);
    }
    QString why;
    if (!SeriesFile::save(*name, series, &why)) {
        error(why);
        return;
    }
    status->setText(QStringLiteral("Série enregistrée dans « %1 »").arg(info.fileName())
                    + (written.isEmpty() ? QStringLiteral(".")
                                         : QStringLiteral(", avec les points de %1.")
                                               .arg(written.join(QStringLiteral(", ")))));
}

void SeriesPanel::exporterSerie_Click()
{
    if (m_entries.empty())
        return;
    const std::optional<QString> name
        = askSaveName(QStringLiteral("Exporter le tableau de la série"),
                      QStringLiteral("Tableau CSV (*.csv)"), QStringLiteral("série.csv"));
    if (!name)
        return;
    QString why;
    if (!FallSeries::writeCsv(*name, trials(), m_result, &why)) {
        error(why);
        return;
    }
    status->setText(QStringLiteral("Tableau de la série exporté dans « %1 ».")
                        .arg(QFileInfo(*name).fileName()));
}

void SeriesPanel::rapport_Click()
{
    if (m_entries.empty())
        return;
    const std::unique_ptr<QTextDocument> report
        = SeriesReport::document(m_entries, setup(), m_result, m_lines);
    TextPrinting printing(m_services);
    if (printing.printDocument(*report, QStringLiteral("rapport de série.pdf"))
        == TextPrinting::Result::Printed)
        status->setText(QStringLiteral("Rapport imprimé."));
}
