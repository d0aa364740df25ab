// SPDX-License-Identifier: GPL-3.0-or-later
// The hint line's text for each control of the main window.
#include "feuillep.h"

#include "chronopanel.h"
#include "colourswatch.h"
#include "displaypanel.h"
#include "hintline.h"
#include "parameteredit.h"
#include "parameterpanel.h"
#include "tabstrip.h"
#include "textarea.h"
#include "vectorpanel.h"

#include "platform/surfacewidget.h"
#include "scene/readoutpanel.h"

#include <QCheckBox>
#include <QLabel>
#include <QToolButton>

void FeuilleP::wireHints()
{
    m_hints = new HintLine(m_info, this);
    m_hints->add(this, HintLine::defaultHint());
    m_hints->add(parameterPanel(), QStringLiteral("Vous pouvez modifier tous les paramètres"));
    m_hints->add(m_picture4, QStringLiteral("Modifier les paramètres depuis l'onglet Paramètres"));
    m_hints->add(displayPanel(),
                 QStringLiteral("Les modifications de ces paramètres "
                                "interviennent sur le mobile en mouvement"));
    const QString optionsHint = QStringLiteral(
        "Les options d'affichage s'appliquent également à l'image copiée ou imprimée.");
    m_hints->add(displayPanel()->Check1(), optionsHint);
    m_hints->add(chronoPanel()->Check2(), optionsHint);
    m_hints->add(vectorPanel(),
                 QStringLiteral("Vous pouvez représenter les forces sur l'animation"));
    for (ColourSwatch *swatch : findChildren<ColourSwatch *>())
        m_hints->add(swatch, QStringLiteral("Modifier la couleur d'affichage"));
    m_hints->add(chronoPanel(), QStringLiteral("Paramètres de la chronophotographie"));
    m_hints->add(chronoPanel()->chrono(),
                 QStringLiteral("Vous pouvez régler l'intervalle de "
                                "temps pour la chronophotographie."));
    m_hints->add(chronoPanel()->command12(), [this] {
        return chronoPanel()->command12()->toolTip() == QLatin1String("Chronophotographie")
            ? QStringLiteral("Appuyer sur la caméra pour commencer l'enregistrement.")
            : QStringLiteral("Appuyer sur le bouton pour arrêter l'enregistrement en cours.");
    });
    const QString animationHint = QStringLiteral(
        "Vous pouvez activer ou arrêter l'animation ou retrouver la position initiale");
    m_hints->add(m_command15, animationHint);
    m_hints->add(m_command18, animationHint);
    m_hints->add(m_command16, animationHint + QLatin1Char('.'));
    m_hints->add(m_picture2, QStringLiteral("Déplacer l'index avec la souris (bouton enfoncé)"));
    m_hints->add(m_frame1,
                 QStringLiteral("Cliquer pour agrandir et obtenir le tableau de valeurs"));
    m_hints->add(m_text->btexo(),
                 QStringLiteral("Ouvrir un énoncé, enregistrer le texte, obtenir la "
                                "correction, imprimer ou fermer."));
    const std::pair<const char *, const char *> commandHints[] = {
        {"Command13",
         "Pour effacer les chronophotographies de l'image actuelle: bouton « Nouveau »"},
        {"Command2", "Pour retrouver une situation enregistrée"},
        {"Command11", "Pour conserver la configuration en cours"},
        {"Command4",
         "Copier pour placer l'image dans le presse- papiers puis coller depuis Word, Paint..."},
        {"Command10", "Pour configurer l'imprimante et imprimer l'image"},
        {"Command8", "Machine à calculer"},
        {"Command7", "Si vous rencontrez une difficulté avec cette application"},
        {"Command1", "Pour retrouver le module principal et quitter cette application"},
    };
    for (const auto &[name, hint] : commandHints)
        m_hints->add(button(QString::fromLatin1(name)), QString::fromUtf8(hint));
}
