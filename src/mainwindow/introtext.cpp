// SPDX-License-Identifier: GPL-3.0-or-later
#include "introtext.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

namespace {

enum class Style { Base, Blue, Title };

struct Piece
{
    const char16_t *text;
    Style style;
};

// "\n" starts a new paragraph.
constexpr Piece pieces[] = {
    {u"Lorva avec frottement\n", Style::Title},
    {u"\nCette application permet de simuler le mouvement d'une sphère dans un"
     u" fluide sans vitesse initiale.\n\n",
     Style::Base},
    {u"Vous pouvez modifier les paramètres :\n", Style::Base},
    {u"     - la masse et le rayon de la sphère,\n     - la hauteur de lorva,\n"
     u"     - la masse volumique et la viscosité du fluide.\n\n",
     Style::Blue},
    {u"Pour étudier le mouvement, vous pouvez réaliser une ", Style::Base},
    {u"chronophotographie ", Style::Blue},
    {u"ou obtenir des représentations graphiques et vectorielles (onglet Vecteurs).\n\n",
     Style::Base},
    {u"Tous les paramètres sont modifiables et l'image obtenue peut être imprimée ou placée "
     u"dans le presse-papiers ",
     Style::Blue},
    {u"(bouton Copier) pour la coller dans une autre application.\n\n", Style::Base},
    {u"Vous pouvez obtenir l'énoncé d'un exercice ", Style::Base},
    {u"dans cette fenêtre en appuyant sur l'onglet ", Style::Base},
    {u"Exercices", Style::Blue},
    {u".\n\n", Style::Base},
    {u"Pour vous familiariser avec ce simulateur, choisissez d'abord l'activité ", Style::Base},
    {u"Prise en main ", Style::Blue},
    {u"dans le menu Exercices.", Style::Base},
};

// Arial 10 and 18 points at 96 dpi.
constexpr int basePixels = 13;
constexpr int titlePixels = 24;
constexpr int indent = 20;

QTextCharFormat characterFormat(Style style)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(style == Style::Title ? titlePixels : basePixels);
    QTextCharFormat format;
    format.setFont(font);
    format.setForeground(style == Style::Base ? QColor(Qt::black) : QColor(0, 0, 200));
    return format;
}

QTextBlockFormat paragraphFormat(Style style)
{
    QTextBlockFormat format;
    format.setAlignment(style == Style::Title ? Qt::AlignHCenter : Qt::AlignLeft);
    format.setLeftMargin(style == Style::Title ? 0 : indent);
    return format;
}

} // namespace

void writeIntroduction(QTextEdit *supertext)
{
    supertext->setReadOnly(true);
    supertext->setUpdatesEnabled(false);
    supertext->clear();

    QTextCursor cursor(supertext->document());
    cursor.beginEditBlock();
    cursor.setBlockFormat(paragraphFormat(Style::Title));
    for (const Piece &piece : pieces) {
        const QString text = QString::fromUtf16(piece.text);
        const QTextCharFormat format = characterFormat(piece.style);
        // A piece formats every paragraph it touches, as a selection would;
        // the title's paragraph is its own.
        if (piece.style != Style::Title)
            cursor.setBlockFormat(paragraphFormat(piece.style));
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                cursor.insertBlock(paragraphFormat(Style::Base), format);
            cursor.insertText(lines.at(i), format);
        }
    }
    cursor.endEditBlock();

    supertext->moveCursor(QTextCursor::Start);
    supertext->setUpdatesEnabled(true);
}
