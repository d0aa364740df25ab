// SPDX-License-Identifier: GPL-3.0-or-later
// The calculator's handlers: the keyboard, the keys, the memory and the
// evaluation of the typed expression.
#include "machine.h"

#include "calculator/numberio.h"
#include "core/numberformat.h"
#include "platform/platformservices.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>

namespace {

// The memory of M+, M-, RM and CM: one value for the whole run, so that it
// survives closing and reopening the window.
double s_memoire = 0.0;

bool isOperator(QChar c)
{
    return c == u'*' || c == u'+' || c == u'/' || c == u'-' || c == u'^';
}

} // namespace

double Machine::memoire()
{
    return s_memoire;
}

bool Machine::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == z1 && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            return false;
        Form_KeyPress(key);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void Machine::keyPressEvent(QKeyEvent *event)
{
    // Enter on a key reached with Tab presses that key (Space is the key's
    // own); from the display it evaluates.
    auto *key = qobject_cast<QPushButton *>(focusWidget());
    if (key && key->window() == this && !(event->modifiers() & ~Qt::KeypadModifier)
        && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        key->click();
        event->accept();
        return;
    }
    // Any key outside the table does nothing, Escape and Enter included:
    // the dialog's own handling would close it or press a button.
    Form_KeyPress(event);
    event->accept();
}

bool Machine::Form_KeyPress(QKeyEvent *event)
{
    // Ctrl or Alt alone make a command, not a character; both together are
    // AltGr on some keyboards, which types characters such as "^".
    const Qt::KeyboardModifiers held
        = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (held && held != (Qt::ControlModifier | Qt::AltModifier))
        return false;

    switch (event->key()) {
    case Qt::Key_Backspace:
        EFFACE_Click();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        EXE_Click();
        return true;
    default:
        break;
    }

    const QString text = event->text();
    if (text.size() != 1)
        return false;
    const QChar c = text.front();
    if (c >= u'0' && c <= u'9')
        ajoute(text, false);
    else if (c == u'.')
        ajoute(text, false);
    else if (c == u'e' || c == u'E' || c == u'd' || c == u'D')
        ajoute(QStringLiteral("E"), false);
    else if (c == u'(')
        ajoute(text, true);
    else if (c == u')')
        ajoute(text, false);
    else if (c == u'*')
        multip_Click();
    else if (c == u'+')
        plus_Click();
    else if (c == u'-')
        moins_Click();
    else if (c == u'/')
        div_Click();
    else if (c == u'^')
        puissance_Click();
    else
        return false;
    return true;
}

void Machine::affiche(const QString &text)
{
    z1->setPlainText(text);
    // A key pressed from the keyboard keeps the focus, so that the next Tab
    // goes on from there.
    if (!qobject_cast<QPushButton *>(focusWidget()))
        z1->setFocus();
    z1->moveCursor(QTextCursor::End);
    // At once, so that the wait text shows during a long evaluation.
    z1->repaint();
}

void Machine::ajoute(const QString &text, bool implicit)
{
    if (implicit && !m_saisie.isEmpty()) {
        const QChar last = m_saisie.back();
        if (last != u'(' && last != u'-' && last != u' ')
            m_saisie += QStringLiteral(" * ");
    }
    m_saisie += text;
    affiche(m_saisie);
}

void Machine::ansSiVide()
{
    if (m_saisie.trimmed().isEmpty())
        ANS_Click();
}

void Machine::plus_Click()
{
    if (z1->toPlainText().trimmed().isEmpty())
        return;
    ansSiVide();
    // After "E" the sign belongs to the exponent.
    const bool exponent = !m_saisie.isEmpty() && m_saisie.back() == u'E';
    ajoute(exponent ? QStringLiteral("+") : QStringLiteral(" + "), false);
}

void Machine::moins_Click()
{
    if (m_saisie.isEmpty()) {
        ajoute(QStringLiteral("-"), false);
        return;
    }
    const QChar last = m_saisie.back();
    if (last == u'(' || last == u' ' || last == u'E')
        ajoute(QStringLiteral("-"), false);
    else if (last == u'-')
        ajoute(QStringLiteral(" -"), false);
    else
        ajoute(QStringLiteral(" - "), false);
}

void Machine::multip_Click()
{
    if (z1->toPlainText().trimmed().isEmpty())
        return;
    ansSiVide();
    ajoute(QStringLiteral(" * "), false);
}

void Machine::div_Click()
{
    if (z1->toPlainText().trimmed().isEmpty())
        return;
    ansSiVide();
    ajoute(QStringLiteral(" / "), false);
}

void Machine::puissance_Click()
{
    ansSiVide();
    ajoute(QStringLiteral(" ^ "), false);
}

void Machine::btcarre_Click()
{
    ansSiVide();
    ajoute(QStringLiteral(" ^ 2"), false);
}

void Machine::pi_Click()
{
    ajoute(NumberIo::write(4.0 * std::atan(1.0)).trimmed(), true);
}

void Machine::ANS_Click()
{
    if (m_codecalcul == Evaluator::Success && m_reponseNombre)
        m_saisie += m_reponse.trimmed();
    affiche(m_saisie);
}

void Machine::EFFACE_Click()
{
    const qsizetype n = m_saisie.size();
    if (n == 0)
        return;
    const QChar last = m_saisie.back();
    const QChar before = n >= 2 ? m_saisie[n - 2] : QChar();
    if (last != u' ') {
        m_saisie.chop(1);
    } else if (isOperator(before)) {
        m_saisie.chop(3);
    } else if (before.unicode() == 251) {
        // A one-character sign followed by its space.
        m_saisie.chop(2);
    } else {
        // A function name and its space: back to the space or "(" before it.
        qsizetype k = n - 2;
        while (k >= 0 && m_saisie[k] != u' ' && m_saisie[k] != u'(')
            --k;
        m_saisie.truncate(k + 1);
    }
    affiche(m_saisie);
}

void Machine::RAZ_Click()
{
    m_saisie.clear();
    affiche(m_saisie);
}

QString Machine::formatResultat(double value) const
{
    // Both forms write a decimal point whatever the locale, so a shown
    // result can be typed back into an expression.
    return C[0]->isChecked() ? NumberFormat::calculatorScientific(value) : NumberIo::write(value);
}

void Machine::EXE_Click()
{
    m_codecalcul = Evaluator::Success;
    QString calcul = m_saisie;
    const QString tapee = m_saisie;
    affiche(waitText());

    int code = Evaluator::Success;
    m_evaluator.evalue(calcul, code,
                       angle[1]->isChecked() ? Evaluator::Radians : Evaluator::Degrees);
    m_codecalcul = code;

    QString texte;
    if (code == Evaluator::Success) {
        // A lone literal beyond the double range comes back unchanged; it
        // fails only here, when read.
        const std::optional<double> value = NumberIo::read(calcul);
        m_reponseNombre = value.has_value();
        if (value) {
            texte = formatResultat(*value);
        } else {
            texte = overflowText();
            m_services.beep();
        }
    } else {
        m_reponseNombre = false;
        texte = Evaluator::message(code);
        m_services.beep();
    }

    affiche(texte);
    m_reponse = texte;
    // After an error the expression comes back for correction.
    m_saisie = code == Evaluator::Success ? QString() : tapee;
}

void Machine::ajouteMemoire(double sign)
{
    const std::optional<double> value = NumberIo::read(z1->toPlainText());
    const double somme = value ? s_memoire + sign * *value : 0.0;
    if (value && std::isfinite(somme))
        s_memoire = somme;
    else
        m_services.beep();
    z1->setFocus();
}

void Machine::Command1_Click()
{
    ajouteMemoire(1.0);
}

void Machine::Command2_Click()
{
    ajouteMemoire(-1.0);
}

void Machine::Command3_Click()
{
    const QString texte = C[0]->isChecked() ? NumberFormat::calculatorScientific(s_memoire)
                                            : NumberIo::write(s_memoire).trimmed();
    ajoute(texte, false);
}

void Machine::Command4_Click()
{
    s_memoire = 0.0;
    z1->setFocus();
}

void Machine::C_Click(int)
{
    // While an expression is being typed the new mode waits for EXE.
    if (!m_saisie.isEmpty())
        return;
    affiche(formatResultat(NumberIo::read(m_reponse).value_or(0.0)));
}
