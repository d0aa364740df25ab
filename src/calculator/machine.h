// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calculator/evaluator.h"

#include <QDialog>

class PlatformServices;
class QFrame;
class QGroupBox;
class QKeyEvent;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// Machine, the scientific pocket calculator ("Machine à calculer"), opened
// modally from the main window; it reads and writes nothing of the simulation.
//
// The keys build an expression as readable text in saisie, shown whole in the
// green display z1; EXE (or Enter) hands it to the Evaluator and shows the
// result or the error message. The expression, the last answer and the last
// result code live as long as the window; the memory of M+, M-, RM and CM
// lives for the whole run and survives closing and reopening the window.
//
// Positions are client-area pixels (the designed twips divided by 15); fonts
// are given in points and converted at 96 dpi. Every beep goes through the
// platform services.
class Machine : public QDialog
{
    Q_OBJECT

public:
    explicit Machine(PlatformServices &services, QWidget *parent = nullptr);
    ~Machine() override;

    // The memory shared by every calculator window of the run, 0 at start.
    static double memoire();

    // The expression being typed; z1 shows it after every key that changes it.
    const QString &saisie() const { return m_saisie; }
    // The text last shown as a result: a number as displayed, or a message.
    const QString &reponse() const { return m_reponse; }
    // Result code of the last evaluation (Evaluator::Code), 0 when opened.
    int codecalcul() const { return m_codecalcul; }

    // "    Patience... Calculs en cours.     ", shown in z1 while EXE evaluates.
    static QString waitText();
    // Shown instead of a result that lies beyond the double range.
    static QString overflowText();

    // The display, the grey panel with the frames "Angles" (Frame1) and
    // "Affichage" (Frame2), and their option buttons: angle 0 "Degrés",
    // 1 "Radians"; C 0 "Scientifique", 1 "Standard".
    QPlainTextEdit *z1 = nullptr;
    QFrame *Picture1 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QRadioButton *angle[2] = {};
    QRadioButton *C[2] = {};

    // The keys, by row of the keypad.
    QPushButton *invsin = nullptr, *bsin = nullptr, *Command5 = nullptr, *Command1 = nullptr,
                *Command2 = nullptr, *Command3 = nullptr, *Command4 = nullptr;
    QPushButton *invcos = nullptr, *Bcos = nullptr, *racine = nullptr, *btcarre = nullptr,
                *puissance = nullptr, *Blog = nullptr, *B10x = nullptr;
    QPushButton *Btoncommande3 = nullptr, *Btan = nullptr, *Bpo = nullptr, *bpf = nullptr,
                *pi = nullptr, *Bln = nullptr, *Bexp = nullptr;
    QPushButton *pico = nullptr, *tera = nullptr, *B7 = nullptr, *B8 = nullptr, *B9 = nullptr,
                *EFFACE = nullptr, *RAZ = nullptr;
    QPushButton *nano = nullptr, *giga = nullptr, *B4 = nullptr, *B5 = nullptr, *B6 = nullptr,
                *multip = nullptr, *div = nullptr;
    QPushButton *micro = nullptr, *mega = nullptr, *B1 = nullptr, *B2 = nullptr, *B3 = nullptr,
                *plus = nullptr, *moins = nullptr;
    QPushButton *mil = nullptr, *kilo = nullptr, *B0 = nullptr, *Bpoint = nullptr,
                *BtoEXP = nullptr, *ANS = nullptr, *EXE = nullptr;

protected:
    // The horizontal gradient, the sunken edge and the frame of the digit keys.
    void paintEvent(QPaintEvent *event) override;
    // Keys typed anywhere in the window act like the window's keys.
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Built in machinekeys.cpp: the keys with their captions, places, colours
    // and tooltips, each connected to its action.
    void createKeys();
    // The keys' accessible names, by function.
    void nameKeys();
    void createDisplay();
    void createOptions();

    // Appends text to saisie and shows it. With implicit set, " * " goes
    // first unless saisie is empty or ends with "(", "-" or a space, so that
    // 2 followed by sin gives 2 * sin.
    void ajoute(const QString &text, bool implicit);
    // Inserts the last answer when saisie, trimmed, is empty: an operator typed
    // right after a result applies to that result.
    void ansSiVide();
    // Sets z1's text, gives it the focus with the caret at the end and
    // repaints it at once.
    void affiche(const QString &text);
    // The value as the display shows it in the selected mode: the general
    // form with its leading space, or "#.#######E+00" in "Scientifique".
    QString formatResultat(double value) const;
    // Adds sign × the number z1's text starts with to the memory; a number or
    // a sum beyond the double range leaves the memory as it is and beeps.
    void ajouteMemoire(double sign);

    // The keyboard table: true when the key was one of the window's keys.
    bool Form_KeyPress(QKeyEvent *event);

    void plus_Click();
    void moins_Click();
    void multip_Click();
    void div_Click();
    void puissance_Click();
    void btcarre_Click();
    void pi_Click();
    void ANS_Click();
    void EFFACE_Click();
    void RAZ_Click();
    void EXE_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void C_Click(int index);

    PlatformServices &m_services;
    Evaluator m_evaluator;
    QString m_saisie;
    QString m_reponse;
    int m_codecalcul = Evaluator::Success;
    // False while reponse holds a message rather than a number, so that ANS
    // never inserts a message into the expression.
    bool m_reponseNombre = true;
};
