// SPDX-License-Identifier: GPL-3.0-or-later
#include "textarea.h"

#include "icons.h"

#include "platform/arialfont.h"

#include <QLineEdit>
#include <QTextEdit>
#include <QToolButton>

TextArea::TextArea(QWidget *window, const QRect &bar, const QRect &text)
    : QObject(window)
{
    m_fich = new QLineEdit(window);
    m_fich->setObjectName(QStringLiteral("fich"));
    m_fich->setGeometry(bar);
    m_fich->setReadOnly(true);
    m_fich->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_fich->setFrame(false);
    m_fich->setFocusPolicy(Qt::NoFocus);
    QPalette colours = m_fich->palette();
    colours.setColor(QPalette::Base, QColor(128, 0, 0));
    colours.setColor(QPalette::Text, Qt::white);
    m_fich->setPalette(colours);
    // Room on the left for the exercise button laid over the bar.
    m_fich->setTextMargins(100, 0, 4, 0);
    connect(m_fich, &QLineEdit::textChanged, this, &TextArea::fich_Change);

    m_btexo = new QToolButton(window);
    m_btexo->setObjectName(QStringLiteral("btexo"));
    m_btexo->setText(QStringLiteral("Exercices"));
    // The arrow is painted: no font of the caption's family has a small
    // triangle, and looking for one among the system's fonts would cost the
    // start a fallback font.
    m_btexo->setIcon(Icons::menuArrow());
    m_btexo->setIconSize(QSize(9, 9));
    m_btexo->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    // The arrow after the caption.
    m_btexo->setLayoutDirection(Qt::RightToLeft);
    m_btexo->setGeometry(bar.left(), bar.top(), 97, 19);
    m_btexo->setFont(ArialFont::designPixels(8, true));
    m_btexo->setFocusPolicy(Qt::NoFocus);
    connect(m_btexo, &QToolButton::clicked, this, &TextArea::exerciseMenuRequested);

    m_supertext = new QTextEdit(window);
    m_supertext->setObjectName(QStringLiteral("supertext"));
    m_supertext->setGeometry(text);
    m_supertext->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_supertext->setLineWidth(2);
    connect(m_supertext, &QTextEdit::textChanged, this, [this] {
        if (!m_fich->text().isEmpty())
            m_textemodif = true;
    });
}

void TextArea::fich_Change()
{
    m_fich->setCursorPosition(int(m_fich->text().size()));
    m_fich->setToolTip(m_fich->text());
}
