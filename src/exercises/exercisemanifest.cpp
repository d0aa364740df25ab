// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercisemanifest.h"

#include "core/animationclock.h"
#include "core/parameterfields.h"
#include "core/validation.h"
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

const char *const fieldKeys[Configuration::fieldCount]
    = {"rayon", "masse", "hauteur", "viscosite", "masse_volumique"};

// The parameter fields as plain texts, for the program's own validation.
class PlainFields : public ParameterFields
{
public:
    QString text(int index) const override { return texts.value(index); }
    void setText(int index, const QString &text) override { texts[index] = text; }
    QString intervalText() const override { return interval; }
    void setIntervalText(const QString &text) override { interval = text; }

    QStringList texts;
    QString interval;
};

} // namespace

Configuration ExerciseManifest::programDefaults()
{
    Configuration c;
    c.fields = {QStringLiteral("3,5"), QStringLiteral("145"), QStringLiteral("1"),
                QStringLiteral("0,2"), QStringLiteral("800")};
    c.interval = QStringLiteral("1000");
    return c;
}

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
    m_configuration = programDefaults();
    m_correctionConfiguration.reset();
    m_lines.clear();
    for (const QString &raw : text.split(QLatin1Char('\n'))) {
        ++m_line;
        // A comment runs from "#" to the end of the line, after a value too.
        const QString line = raw.left(raw.indexOf(QLatin1Char('#'))).trimmed();
        if (line.isEmpty())
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
    return check(configurationSection, m_configuration)
        && (!m_correctionConfiguration || check(correctionSection, *m_correctionConfiguration));
}

bool ExerciseManifest::check(const QString &section, const Configuration &c)
{
    // As the program reads the file: the mass validated (deriving the
    // sphere's density), then the radius (deriving the mass again).
    PlainFields fields;
    for (const QString &field : c.fields)
        fields.texts << field;
    fields.texts << QString();
    fields.interval = c.interval;
    AnimationView view;
    AnimationClock clock(fields, view);
    ParameterValidator validator(fields, clock);
    // The other fields keep their text only when the field's own validation
    // (range, three digits) would leave it so.
    validator.Text5_LostFocus(ParameterFields::Mass);
    for (int index : {ParameterFields::Height, ParameterFields::Viscosity,
                      ParameterFields::FluidDensity, ParameterFields::Radius})
        validator.Text5_LostFocus(index);

    const auto refuse = [&](const QString &key, const QString &given, const QString &shown) {
        const int line
            = m_lines.value(section + QLatin1Char('/') + key,
                            m_lines.value(configurationSection + QLatin1Char('/') + key));
        const QString where = line > 0 ? QStringLiteral("ligne %1").arg(line)
                                       : QStringLiteral("[%1], valeur par défaut").arg(section);
        m_error = QStringLiteral("%1 : « %2 = %3 » serait affiché « %4 » par le programme "
                                 "(bornes, trois chiffres, masse et masse volumique liées)")
                      .arg(where, key, given, shown);
        return false;
    };
    for (int i = 0; i < Configuration::fieldCount; ++i) {
        const QString &given = c.fields[std::size_t(i)];
        if (fields.text(i) != given)
            return refuse(QLatin1String(fieldKeys[i]), given, fields.text(i));
    }
    const QString interval = validatedInterval(c.interval);
    if (interval != c.interval)
        return refuse(QStringLiteral("intervalle"), c.interval, interval);
    return true;
}

bool ExerciseManifest::setsEveryField(QString *missing) const
{
    QStringList keys;
    for (const char *key : fieldKeys)
        keys << QLatin1String(key);
    keys << QStringLiteral("intervalle");
    for (const QString &key : std::as_const(keys)) {
        if (!m_lines.contains(configurationSection + QLatin1Char('/') + key)) {
            *missing = key;
            return false;
        }
    }
    return true;
}

bool ExerciseManifest::setKey(const QString &section, const QString &key, const QString &value)
{
    if (value.isEmpty()) {
        m_error = QStringLiteral("ligne %1 : valeur vide pour « %2 »").arg(m_line).arg(key);
        return false;
    }
    m_lines.insert(section + QLatin1Char('/') + key, m_line);
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
    else if (key == QLatin1String("notion")) {
        if (m_notions.size() == 4) {
            m_error = QStringLiteral("ligne %1 : quatre notions au plus, le descripteur n'a pas "
                                     "de place pour une cinquième")
                          .arg(m_line);
            return false;
        }
        // A notion keeps its trailing space: the preview joins them as stored.
        m_notions.append(value + QLatin1Char(' '));
    } else if (key == QLatin1String("enonce"))
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
    QStringList fields;
    for (const char *name : fieldKeys)
        fields << QLatin1String(name);
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
    // Every record is checked before the first file is written, so that a
    // refused manifest leaves no file behind.
    const QStringList records = descriptorRecords();
    for (qsizetype i = 0; i < records.size(); ++i) {
        const QString &text = records.at(i);
        if (!RecordFile::fitsWindows1252(text) || text.size() > RecordFile::maxTextBytes) {
            m_error
                = QStringLiteral("enregistrement %1 trop long ou illisible sous Windows : « %2 »")
                      .arg(i + 1)
                      .arg(text);
            return false;
        }
    }
    ConfigurationWriter writer;
    for (const Configuration *c :
         {&m_configuration, m_correctionConfiguration ? &*m_correctionConfiguration : nullptr}) {
        if (c && !writer.toBytes(*c)) {
            m_error = writer.errorString();
            return false;
        }
    }
    QDir output(folder);
    if (!output.mkpath(QStringLiteral("."))) {
        m_error = QStringLiteral("%1 : dossier impossible à créer").arg(folder);
        return false;
    }
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
    for (int record = 1; record <= records.size(); ++record) {
        if (!descriptor.write(record, records.at(record - 1))) {
            m_error = QStringLiteral("enregistrement %1 impossible à écrire").arg(record);
            return false;
        }
    }
    if (!descriptor.commit()) {
        m_error = descriptor.errorString();
        return false;
    }
    return true;
}

QStringList ExerciseManifest::descriptorRecords() const
{
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
    return records;
}
