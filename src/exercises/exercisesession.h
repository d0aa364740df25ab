// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/platformservices.h"

#include <QObject>
#include <QString>

class ExerciseHost;
class QAction;
class QMenu;
class QPoint;

// The exercises of the main window: the menu optionexo popped up under the
// "Exercices" button, the exercise window Fichexo it opens, and what each
// item does to the text area. It owns repexo (the folder of the exercise
// shown, ending with a separator) and exoouvert (an exercise with a
// correction is open); fich, textemodif and the text itself belong to the
// host.
class ExerciseSession : public QObject
{
    Q_OBJECT

public:
    // dataFolder holds "LORVA.PEM"; exercisesFolder is the folder the
    // exercise window lists first.
    ExerciseSession(ExerciseHost &host, PlatformServices &services, const QString &dataFolder,
                    const QString &exercisesFolder);
    ~ExerciseSession() override;

    QMenu *optionexo() const { return m_menu; }
    QAction *item(const QString &objectName) const;

    // btexo_Click: enables the items from exoouvert and fich and pops the
    // menu up at at (global coordinates, under the button).
    void btexo_Click(const QPoint &at);
    // Enables "Voir la correction" when exoouvert, "Fermer l'exercice" when
    // fich is not empty.
    void updateMenu();

    QString repexo() const { return m_repexo; }
    void setRepexo(const QString &folder);
    bool exoouvert() const { return m_exoouvert; }
    QString exercisesFolder() const { return m_exercisesFolder; }

    // The menu's items.
    void openexo_Click();
    void PRISENMAIN_Click();
    void opencor_Click();
    void savetexte_Click();
    void opentexte_Click();
    void imprimetexte_Click();
    void Closexo_Click();

    // ouvreur: opens the exercise whose descriptor is at path: its statement
    // (editable) and its configuration. Reports a failure and returns false;
    // what was loaded before the failure stays.
    bool ouvreur(const QString &path);
    // The launcher asked for the exercise at path: opened at once, without
    // showing the exercise window. A statement holding unsaved edits is
    // replaced only when the student agrees; otherwise the request is dropped
    // and the student told so. Every box shown meanwhile has the main window
    // visible under it.
    void openRequested(const QString &path);

    // The box shown when a descriptor cannot be read.
    void lectureImpossible();

private:
    // Unsaved-changes guard: true to go on (textemodif then cleared).
    bool guard();
    // Every box of the exercises goes through here.
    MessageAnswer message(MessageIcon icon, const QString &title, const QString &text,
                          MessageButtons buttons = MessageButtons::Ok);
    // Reads the RTF file at path into supertext; false when it is not RTF.
    bool loadText(const QString &path, QString *error);
    void fichierAbsent(const QString &name);
    QAction *addItem(const char *name, const QString &caption, void (ExerciseSession::*slot)());

    ExerciseHost &m_host;
    PlatformServices &m_services;
    QString m_dataFolder;
    QString m_exercisesFolder;
    QString m_repexo;
    bool m_exoouvert = false;
    // A launcher's request is being served while the main window is hidden.
    bool m_requesting = false;
    QMenu *m_menu = nullptr;
};
