#include "exercisemanifest.h"

#include "platform/recordfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString mainSection;
const QString configurationSection = QStringLiteral("configuration");
const QString correctionSection = QStringLiteral("configuration du corrigé");
const QString valuesSection = QStringLiteral("valeurs");

std::optional<bool> flag(const QString &value)
{
    if (value == QLatin1String("1"))
        return true;
    if (value == QLatin1String("0"))
        return false;
    return std::nullopt;
}

} // namespace

bool ExerciseManifest::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        m_error = QStringLiteral("%1 : %2").arg(path, file.errorString());
        return false;
    }
    return parse(QString::fromUtf8(file.readAll()), QFileInfo(path).completeBaseName());
}

bool ExerciseManifest::parse(const QString &text, const QString &name)
{
    m_name = name;
    QString section = mainSection;
    m_line = 0;
    for (const QString &raw : text.split(QLatin1Char('\n'))) {
        ++m_line;
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2).trimmed();
            if (section == correctionSection)
                m_correctionConfiguration = m_configuration;
            else if (section != configurationSection && section != valuesSection) {
                m_error
                    = QStringLiteral("ligne %1 : partie inconnue [%2]").arg(m_line).arg(section);
                return false;
            }
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0) {
            m_error = QStringLiteral("ligne %1 : « clé = valeur » attendu").arg(m_line);
            return false;
        }
        if (!setKey(section, line.left(equals).trimmed(), line.mid(equals + 1).trimmed()))
            return false;
    }
    if (m_statement.isEmpty()) {
        m_error = QStringLiteral("il manque l'énoncé (enonce = ...)");
        return false;
    }
    return true;
}

bool ExerciseManifest::setKey(const QString &section, const QString &key, const QString &value)
{
    if (section == configurationSection)
        return setConfigurationKey(m_configuration, key, value);
    if (section == correctionSection)
        return setConfigurationKey(*m_correctionConfiguration, key, value);
    if (section == valuesSection) {
        m_values.append({key, value});
        return true;
    }
    if (key == QLatin1String("titre"))
        m_title = value;
    else if (key == QLatin1String("niveau"))
        m_level = value;
    else if (key == QLatin1String("symboles"))
        m_symbols = value;
    else if (key == QLatin1String("notion") && m_notions.size() < 4)
        // A notion keeps its trailing space: the preview joins them as stored.
        m_notions.append(value + QLatin1Char(' '));
    else if (key == QLatin1String("enonce"))
        m_statement = value;
    else if (key == QLatin1String("correction"))
        m_correction = value;
    else if (key == QLatin1String("descripteur"))
        m_descriptor = value;
    else if (key == QLatin1String("prefixe"))
        m_prefix = value;
    else {
        m_error = QStringLiteral("ligne %1 : clé inconnue « %2 »").arg(m_line).arg(key);
        return false;
    }
    return true;
}

bool ExerciseManifest::setConfigurationKey(Configuration &c, const QString &key,
                                           const QString &value)
{
    static const QStringList fields {QStringLiteral("rayon"), QStringLiteral("masse"),
                                     QStringLiteral("hauteur"), QStringLiteral("viscosite"),
                                     QStringLiteral("masse_volumique")};
    DisplayOptions &o = c.options;
    const std::pair<const char *, bool *> flags[]
        = {{"axe", &o.showAxis},
           {"croix", &o.crossMarks},
           {"gras", &o.boldGraph},
           {"index", &o.showIndex},
           {"vecteur_vitesse", &o.showVelocity},
           {"regle", &o.showRuler},
           {"vecteurs_sur_marques", &o.keepVectorsOnMarks},
           {"forces", &o.showForces},
           {"ralenti", &o.slowMotion}};
    const auto fail = [this, &key] {
        m_error = QStringLiteral("ligne %1 : valeur refusée pour « %2 »").arg(m_line).arg(key);
        return false;
    };
    if (fields.contains(key)) {
        c.fields[std::size_t(fields.indexOf(key))] = value;
        return true;
    }
    if (key == QLatin1String("intervalle")) {
        c.interval = value;
        return true;
    }
    for (const auto &[name, target] : flags) {
        if (key == QLatin1String(name)) {
            const std::optional<bool> set = flag(value);
            if (!set)
                return fail();
            *target = *set;
            return true;
        }
    }
    if (key == QLatin1String("echelle_vitesse") || key == QLatin1String("echelle_forces")) {
        bool ok = false;
        const int scale = value.toInt(&ok);
        if (!ok || scale < DisplayOptions::scaleMinimum || scale > DisplayOptions::scaleMaximum)
            return fail();
        (key == QLatin1String("echelle_vitesse") ? o.velocityScale : o.forceScale) = scale;
        return true;
    }
    if (key == QLatin1String("graphe")) {
        const QStringList quantities {QStringLiteral("position"), QStringLiteral("vitesse"),
                                      QStringLiteral("acceleration")};
        if (!quantities.contains(value))
            return fail();
        o.graphQuantity = int(quantities.indexOf(value));
        return true;
    }
    m_error = QStringLiteral("ligne %1 : clé inconnue « %2 »").arg(m_line).arg(key);
    return false;
}

QString ExerciseManifest::descriptorFile() const
{
    return m_descriptor.isEmpty() ? m_name + QStringLiteral(".E40") : m_descriptor;
}

bool ExerciseManifest::write(const QString &folder)
{
    QDir output(folder);
    if (!output.mkpath(QStringLiteral("."))) {
        m_error = QStringLiteral("%1 : dossier impossible à créer").arg(folder);
        return false;
    }
    ConfigurationWriter writer;
    if (!writer.save(m_configuration, output.filePath(configurationFile()))) {
        m_error = writer.errorString();
        return false;
    }
    if (m_correctionConfiguration
        && !writer.save(*m_correctionConfiguration,
                        output.filePath(correctionConfigurationFile()))) {
        m_error = writer.errorString();
        return false;
    }

    RecordFile descriptor(QDir::cleanPath(output.filePath(descriptorFile())));
    const auto named
        = [this](const QString &file) { return file.isEmpty() ? QString() : m_prefix + file; };
    QStringList records {named(m_statement),
                         named(configurationFile()),
                         named(m_correction),
                         m_correctionConfiguration ? named(correctionConfigurationFile())
                                                   : QString(),
                         m_level,
                         QString()};
    for (int i = 0; i < 4; ++i)
        records.append(m_notions.value(i));
    records << m_title << m_symbols;
    for (int record = 1; record <= records.size(); ++record) {
        const QString &text = records.at(record - 1);
        if (!RecordFile::fitsWindows1252(text) || !descriptor.write(record, text)) {
            m_error
                = QStringLiteral("enregistrement %1 trop long ou illisible sous Windows : « %2 »")
                      .arg(record)
                      .arg(text);
            return false;
        }
    }
    if (!descriptor.commit()) {
        m_error = descriptor.errorString();
        return false;
    }
    return true;
}
