// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The content of an exercise descriptor (".E40"), a record file whose records
// name the exercise's files and describe it for the preview:
//   1 statement (RTF), 2 configuration, 3 correction (RTF), 4 correction's
//   configuration (file names relative to the descriptor's folder, blank when
//   absent), 5 difficulty, 6 unused, 7-10 notions covered, 11 title,
//   12 number of symbols shown beside the title.
// The getting-started descriptor has the same layout and uses records 1 and 2.
// Texts are kept as stored; numbers are read by their leading number, a text
// without one counting as 0.
class ExerciseDescriptor
{
public:
    static constexpr int lampCount = 3;
    // The preview's row of symbols never grows past this, however large the
    // stored count.
    static constexpr int maxSymbols = 40;

    enum class Scope {
        FileNames,  // records 1 to 4, what opening an exercise or its correction needs
        Everything, // records 1 to 12, for the preview
    };

    // Reads the descriptor at path. A record past the end of the file reads as
    // blank; a missing or unreadable file, or a damaged record within the
    // scope, is an error and leaves this descriptor empty.
    bool read(const QString &path, Scope scope = Scope::Everything);
    QString errorString() const { return m_error; }

    QString statement() const { return m_statement; }
    QString configuration() const { return m_configuration; }
    QString correction() const { return m_correction; }
    QString correctionConfiguration() const { return m_correctionConfiguration; }
    double difficulty() const { return m_difficulty; }
    QStringList notions() const { return m_notions; }
    QString title() const { return m_title; }
    double symbolValue() const { return m_symbolValue; }

    // True when record 3 or record 4 names a file ("Exercice corrigé").
    bool hasCorrection() const;
    // Lamp i (0 to 2) is lit when the difficulty is greater than i.
    bool lampLit(int lamp) const { return m_difficulty > lamp; }
    int litLamps() const;
    // The notions that are not blank, joined as stored, without separator.
    QString notionsText() const;
    // Record 12 rounded to the nearest integer (a half to the even
    // neighbour), kept within 0 and maxSymbols.
    int symbolCount() const;

private:
    QString m_error;
    QString m_statement;
    QString m_configuration;
    QString m_correction;
    QString m_correctionConfiguration;
    double m_difficulty = 0;
    QStringList m_notions;
    QString m_title;
    double m_symbolValue = 0;
};
