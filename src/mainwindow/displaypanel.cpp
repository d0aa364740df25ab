// SPDX-License-Identifier: GPL-3.0-or-later
#include "displaypanel.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

namespace {

QCheckBox *checkBox(const QString &text, bool checked, QWidget *parent)
{
    QCheckBox *box = new QCheckBox(text, parent);
    box->setChecked(checked);
    return box;
}

} // namespace

DisplayPanel::DisplayPanel(QWidget *parent)
    : OptionPanel(QStringLiteral("Picture1"), parent)
{
    m_Check1 = checkBox(QStringLiteral("Afficher l'axe"), true, this);
    place(m_Check1, QStringLiteral("Check1"), QRect(64, 56, 105, 17));
    m_Check6 = checkBox(QStringLiteral("Afficher la règle"), true, this);
    place(m_Check6, QStringLiteral("Check6"), QRect(64, 80, 105, 17));
    m_Check4 = checkBox(QStringLiteral("Afficher l'index"), true, this);
    place(m_Check4, QStringLiteral("Check4"), QRect(64, 104, 121, 17));
    m_speed = checkBox(QStringLiteral("Animation au ralenti"), false, this);
    place(m_speed, QStringLiteral("speed"), QRect(64, 128, 133, 17));

    const QString quantities[3]
        = {QStringLiteral("Position"), QStringLiteral("Vitesse"), QStringLiteral("Accélération")};
    for (int i = 0; i < 3; ++i) {
        // The three buttons share the panel as parent, so they exclude each other.
        m_Option1[i] = new QRadioButton(quantities[i], this);
        place(m_Option1[i], QStringLiteral("Option1"), QRect(64, 184 + 24 * i, 105, 17));
        m_Option1[i]->setProperty("index", i);
    }
    m_Option1[0]->setChecked(true);

    m_Check3 = checkBox(QStringLiteral("Tracer en gras"), false, this);
    place(m_Check3, QStringLiteral("Check3"), QRect(64, 256, 133, 17));

    const auto buttons = findChildren<QAbstractButton *>(Qt::FindDirectChildrenOnly);
    for (QAbstractButton *button : buttons)
        onBackground(button);

    // A push button keeps its own look.
    m_Command5 = new QPushButton(QStringLiteral("Agrandir"), this);
    m_Command5->setObjectName(QStringLiteral("Command5"));
    m_Command5->setGeometry(180, 206, 81, 25);

    connect(this, &SurfaceWidget::paintRequested, this, &DisplayPanel::Picture1_Paint);
}

void DisplayPanel::Picture1_Paint()
{
    beginPaint();
    DrawingSurface &s = surface();
    s.setFontBold(true);
    s.setCurrentPoint(18, m_Check1->y() - 27);
    s.print(QStringLiteral("Animation"));
    s.setCurrentPoint(18, m_Option1[0]->y() - 27);
    s.print(QStringLiteral("Graphe"));
    s.setFontBold(false);
}
