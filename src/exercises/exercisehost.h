// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QDialog;
class QTextEdit;
class QWidget;

// What the exercises need of the main window: its text area supertext, the
// exercise bar fich, the flag textemodif, reading a configuration, running a
// window modally and the introduction text. The main window implements it;
// tests implement it over plain widgets.
class ExerciseHost
{
public:
    virtual ~ExerciseHost() = default;

    // The rich-text area whose text is the introduction, a statement, a
    // correction, the getting-started lesson or a reopened text.
    virtual QTextEdit *supertext() const = 0;
    // What supertext shows: the open descriptor's path, "Texte: " and the
    // path of a reopened text, or empty.
    virtual QString fich() const = 0;
    virtual void setFich(const QString &text) = 0;
    // Set by the text area at the user's first change while fich is not empty.
    virtual bool textemodif() const = 0;
    virtual void setTextemodif(bool modified) = 0;
    // chargeconfig: reads the configuration at path into the simulation (it
    // becomes nomfichier); a refused file has been reported and changes
    // nothing.
    virtual bool chargeconfig(const QString &path) = 0;
    // Runs window modally over the main window.
    virtual int showModal(QDialog *window) = 0;
    // Brings back the introduction text (read-only).
    virtual void writeIntroduction() = 0;
    // The main window: parent, position and look of the exercise window.
    virtual QWidget *window() const = 0;
};
