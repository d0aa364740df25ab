// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/configuration.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>

// The readable source of an exercise, from which the descriptor (".E40") and
// its configurations (".P18") are written. A UTF-8 text of "key = value"
// lines, "#" starting a comment that runs to the end of its line, in three
// parts:
//
//   titre = ...            record 11        niveau = 2     record 5
//   symboles = 3           record 12        notion = ...   records 7 to 10
//   enonce = x.rtf         record 1         correction = y.rtf   record 3
//   descripteur = ../LORVA.PEM  where the descriptor goes, relative to the
//                          output folder (default: <manifest name>.E40)
//   prefixe = exercices\   put before the file names of records 1 to 4
//   [configuration]        the configuration, written as <name>.P18 (record 2)
//   [configuration du corrigé]  the correction's, <name>-corrige.P18 (record 4),
//                          starting from the values of [configuration]
//   [valeurs]              figures quoted in the correction, "name = 0,956",
//                          checked against the model by the tests
//
// A configuration takes the program's defaults (those of the main window)
// and these keys: rayon (cm),
// masse (g), hauteur (m), viscosite, masse_volumique, intervalle (ms), axe,
// croix, gras, index, vecteur_vitesse, regle, vecteurs_sur_marques, forces,
// ralenti (0 or 1), echelle_vitesse, echelle_forces (0 to 90), graphe
// (position, vitesse or acceleration). Every value must be one the program
// keeps as written once it has read the configuration (within its range,
// three significant digits, the mass consistent with the density it
// derives): a value the program would show otherwise is refused, naming its
// line. At most four notions.
class ExerciseManifest
{
public:
    // The fields, interval and options of the main window at start-up.
    static Configuration programDefaults();

    bool read(const QString &path);
    bool parse(const QString &text, const QString &name);
    QString errorString() const { return m_error; }
    // Whether [configuration] gives the five fields and the interval
    // itself; missing names the first key left to its default.
    bool setsEveryField(QString *missing) const;

    // Writes the descriptor and the configurations into folder; a manifest
    // whose records cannot be written writes nothing.
    bool write(const QString &folder);

    QString name() const { return m_name; }
    QString descriptorFile() const;
    QString configurationFile() const { return m_name + QStringLiteral(".P18"); }
    QString correctionConfigurationFile() const { return m_name + QStringLiteral("-corrige.P18"); }
    QString statement() const { return m_statement; }
    QString correction() const { return m_correction; }
    QString title() const { return m_title; }
    QStringList notions() const { return m_notions; }
    Configuration configuration() const { return m_configuration; }
    std::optional<Configuration> correctionConfiguration() const
    {
        return m_correctionConfiguration;
    }
    // The figures the correction quotes, as written there.
    QList<QPair<QString, QString>> values() const { return m_values; }

private:
    bool setKey(const QString &section, const QString &key, const QString &value);
    bool setConfigurationKey(Configuration &configuration, const QString &key,
                             const QString &value);
    // Refuses a configuration the program would show otherwise than written.
    bool check(const QString &section, const Configuration &configuration);
    // Records 1 to 12 of the descriptor.
    QStringList descriptorRecords() const;

    QString m_error;
    QString m_name;
    QString m_descriptor;
    QString m_prefix;
    QString m_statement;
    QString m_correction;
    QString m_title;
    QString m_level = QStringLiteral("1");
    QString m_symbols = QStringLiteral("0");
    QStringList m_notions;
    Configuration m_configuration;
    std::optional<Configuration> m_correctionConfiguration;
    QList<QPair<QString, QString>> m_values;
    int m_line = 0;
    // The line of each key given, as "section/key".
    QHash<QString, int> m_lines;
};
