// SPDX-License-Identifier: GPL-3.0-or-later
#include "seriesfile.h"

#include "quantity.h"

#include "core/atomicsave.h"
#include "core/numberformat.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>

namespace {

const QString magic = QStringLiteral("# Lorva : série de chutes");

// "3,155 ± 0,005 mm", "7,8 g/cm3": the value (finite, positive) and u in SI
// units, read as every typed quantity is; u is 0 without ±.
bool parseQuantity(const QString &text, QuantityKind kind, double *value, double *uncertainty)
{
    const std::optional<TypedQuantity> q = QuantityText::parse(text, kind, nullptr);
    if (!q || !std::isfinite(q->value) || !(q->value > 0.0))
        return false;
    const double u = q->hasUncertainty() ? q->uncertainty : 0.0;
    if (!std::isfinite(u) || !(u >= 0.0))
        return false;
    *value = q->value;
    *uncertainty = u;
    return true;
}

QString shownNumber(double value)
{
    return NumberFormat::generalDouble(value);
}

QString quantity(double value, double uncertainty, double factor, const char *unit)
{
    QString text = shownNumber(value / factor);
    if (uncertainty > 0.0)
        text += QStringLiteral(" ± ") + shownNumber(uncertainty / factor);
    return text + QLatin1Char(' ') + QString::fromUtf8(unit);
}

} // namespace

bool SeriesFileReader::fail(const QString &error)
{
    m_series = SeriesFileData();
    m_error = error;
    return false;
}

bool SeriesFileReader::read(QIODevice *device)
{
    if (!device || !device->isReadable())
        return fail(QStringLiteral("Le fichier de série ne peut pas être lu."));
    // In small chunks: QIODevice::read(qint64) would allocate its whole
    // maximum for every read, however few bytes the device hands over.
    QByteArray bytes;
    char chunk[4096];
    while (bytes.size() <= maxBytes) {
        const qint64 got
            = device->read(chunk, std::min<qint64>(sizeof chunk, maxBytes + 1 - bytes.size()));
        if (got <= 0)
            break;
        bytes.append(chunk, qsizetype(got));
    }
    if (bytes.size() > maxBytes)
        return fail(QStringLiteral("Le fichier de série dépasse %1 Ko : ce n'en est pas un.")
                        .arg(maxBytes / 1024));
    return read(bytes);
}

bool SeriesFileReader::read(const QByteArray &bytes)
{
    m_series = SeriesFileData();
    m_error.clear();
    if (bytes.size() > maxBytes)
        return fail(QStringLiteral("Le fichier de série dépasse %1 Ko : ce n'en est pas un.")
                        .arg(maxBytes / 1024));
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return fail(QStringLiteral("Le fichier de série n'est pas du texte UTF-8."));
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QStringList lines = text.split(QLatin1Char('\n'));
    auto at = [](qsizetype line, const QString &what) {
        return QStringLiteral("Ligne %1 : %2").arg(line + 1).arg(what);
    };
    auto clean = [&lines](qsizetype i) {
        QString line = lines.at(i);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        return line.trimmed();
    };
    if (clean(0) != magic)
        return fail(QStringLiteral("Ce n'est pas un fichier de série : sa première ligne "
                                   "devrait être « %1 ».")
                        .arg(magic));

    SeriesFileData series;
    QStringList seen; // the keys of the current section
    SeriesFileTrial *trial = nullptr;
    qsizetype trialLine = 0;
    // A trial is complete with its file, its radius and one of mass or density.
    auto complete = [&]() -> QString {
        if (!trial)
            return QString();
        QString missing;
        if (trial->file.isEmpty())
            missing = QStringLiteral("« fichier »");
        else if (std::isnan(trial->radius))
            missing = QStringLiteral("« rayon »");
        else if (std::isnan(trial->mass) == std::isnan(trial->density))
            missing = QStringLiteral("soit « masse », soit « masse-volumique »");
        if (missing.isEmpty())
            return QString();
        return at(trialLine, QStringLiteral("l'essai demande %1.").arg(missing));
    };
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString line = clean(i);
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            if (line != QLatin1String("[essai]"))
                return fail(at(i, QStringLiteral("section inconnue « %1 ».").arg(line)));
            const QString problem = complete();
            if (!problem.isEmpty())
                return fail(problem);
            if (qsizetype(series.trials.size()) >= maxTrials)
                return fail(
                    at(i, QStringLiteral("une série compte au plus %1 essais.").arg(maxTrials)));
            series.trials.emplace_back();
            trial = &series.trials.back();
            trialLine = i;
            seen.clear();
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            return fail(at(i, QStringLiteral("« clé = valeur » attendu.")));
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (seen.contains(key))
            return fail(at(i, QStringLiteral("« %1 » est donné deux fois.").arg(key)));
        seen << key;
        bool ok = true;
        if (!trial) {
            if (key == QLatin1String("fluide"))
                ok = parseQuantity(value, QuantityKind::Density, &series.fluidDensity,
                                   &series.fluidDensityU);
            else if (key == QLatin1String("tube"))
                ok = parseQuantity(value, QuantityKind::Length, &series.tubeDiameter,
                                   &series.tubeDiameterU);
            else
                return fail(at(i,
                               QStringLiteral("clé inconnue « %1 » (avant le premier "
                                              "[essai] : fluide, tube).")
                                   .arg(key)));
        } else if (key == QLatin1String("fichier")) {
            ok = !value.isEmpty() && !value.contains(QChar(0));
            trial->file = value;
        } else if (key == QLatin1String("rayon")) {
            ok = parseQuantity(value, QuantityKind::Length, &trial->radius, &trial->radiusU);
        } else if (key == QLatin1String("masse")) {
            ok = parseQuantity(value, QuantityKind::Mass, &trial->mass, &trial->massU);
        } else if (key == QLatin1String("masse-volumique")) {
            ok = parseQuantity(value, QuantityKind::Density, &trial->density, &trial->densityU);
        } else if (key == QLatin1String("retenu")) {
            ok = value == QLatin1String("oui") || value == QLatin1String("non");
            trial->used = value == QLatin1String("oui");
        } else {
            return fail(at(i,
                           QStringLiteral("clé inconnue « %1 » (dans un essai : fichier, "
                                          "rayon, masse, masse-volumique, retenu).")
                               .arg(key)));
        }
        if (!ok)
            return fail(
                at(i, QStringLiteral("valeur incorrecte pour « %1 » : « %2 ».").arg(key, value)));
    }
    const QString problem = complete();
    if (!problem.isEmpty())
        return fail(problem);
    if (std::isnan(series.fluidDensity))
        return fail(QStringLiteral("La masse volumique du fluide manque (« fluide = … »)."));
    if (series.trials.empty())
        return fail(QStringLiteral("La série ne compte aucun essai ([essai])."));
    m_series = std::move(series);
    return true;
}

namespace SeriesFile {

bool isSeries(const QByteArray &start)
{
    QByteArray bytes = start;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    return bytes.startsWith(magic.toUtf8());
}

QByteArray bytes(const SeriesFileData &series)
{
    QString text = magic + QLatin1Char('\n');
    text += QStringLiteral("fluide = %1\n")
                .arg(quantity(series.fluidDensity, series.fluidDensityU, 1.0, "kg/m3"));
    if (!std::isnan(series.tubeDiameter))
        text += QStringLiteral("tube = %1\n")
                    .arg(quantity(series.tubeDiameter, series.tubeDiameterU, 1e-3, "mm"));
    for (const SeriesFileTrial &t : series.trials) {
        text += QStringLiteral("\n[essai]\nfichier = %1\n").arg(t.file);
        text += QStringLiteral("rayon = %1\n").arg(quantity(t.radius, t.radiusU, 1e-3, "mm"));
        if (!std::isnan(t.mass))
            text += QStringLiteral("masse = %1\n").arg(quantity(t.mass, t.massU, 1e-3, "g"));
        else
            text += QStringLiteral("masse-volumique = %1\n")
                        .arg(quantity(t.density, t.densityU, 1.0, "kg/m3"));
        if (!t.used)
            text += QStringLiteral("retenu = non\n");
    }
    return text.toUtf8();
}

bool save(const QString &path, const SeriesFileData &series, QString *error)
{
    const QDir folder = QFileInfo(path).absoluteDir();
    SeriesFileData relative = series;
    for (SeriesFileTrial &t : relative.trials)
        t.file = QDir::fromNativeSeparators(folder.relativeFilePath(t.file));
    QString why;
    if (AtomicSave::write(path, bytes(relative), &why))
        return true;
    *error = QStringLiteral("La série « %1 » n'a pas pu être enregistrée.").arg(path)
        + (why.isEmpty() ? QString() : QLatin1Char(' ') + why);
    return false;
}

bool load(const QString &path, SeriesFileData *series, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Le fichier « %1 » ne peut pas être ouvert.").arg(path);
        return false;
    }
    SeriesFileReader reader;
    if (!reader.read(&file)) {
        *error = reader.errorString();
        return false;
    }
    *series = reader.series();
    const QDir folder = QFileInfo(path).absoluteDir();
    for (SeriesFileTrial &t : series->trials)
        t.file = QDir::cleanPath(folder.absoluteFilePath(t.file));
    return true;
}

} // namespace SeriesFile
