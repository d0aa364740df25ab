// SPDX-License-Identifier: GPL-3.0-or-later
// The main window from the keyboard and for assistive tools: the Tab chain,
// the window's shortcuts, Enter on a focused button, the focus mark of the
// command buttons, the hint line following the keyboard focus, and the
// accessible names of controls whose labels and units are painted.
#include "feuillep.h"

#include "accessibility.h"
#include "chronopanel.h"
#include "colourswatch.h"
#include "displaypanel.h"
#include "hintline.h"
#include "parameteredit.h"
#include "parameterpanel.h"
#include "scalespinner.h"
#include "tabstrip.h"
#include "textarea.h"
#include "vectorpanel.h"

#include "platform/surfacewidget.h"
#include "scene/readoutpanel.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTextEdit>
#include <QToolButton>

#include <array>

namespace {

bool isKeyboardReason(Qt::FocusReason reason)
{
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason
        || reason == Qt::ShortcutFocusReason;
}

// A dotted frame laid over the tool button that has the keyboard focus: their
// style may draw none. Shown only for focus that came from the keyboard, so a
// mouse user sees nothing new.
class FocusMark : public QWidget
{
public:
    explicit FocusMark(QWidget *parent)
        : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        hide();
    }
    void follow(QWidget *control)
    {
        setParent(control->parentWidget());
        setGeometry(control->geometry());
        raise();
        show();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(3, 3, -4, -4));
    }
};

// Watches the window's focusable controls: a control reached from the
// keyboard shows its hint (and a tool button its focus mark); Enter or Return
// on a focused button presses it, as Space does.
class KeyboardWatch : public QObject
{
public:
    KeyboardWatch(QWidget *window, HintLine &hints)
        : QObject(window)
        , m_window(window)
        , m_hints(hints)
        , m_mark(new FocusMark(window))
    { }
    void watch(QWidget *control) { control->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *control = static_cast<QWidget *>(watched);
        switch (event->type()) {
        case QEvent::FocusIn:
            if (isKeyboardReason(static_cast<QFocusEvent *>(event)->reason())) {
                m_hints.focusEntered(control, m_window);
                if (qobject_cast<QToolButton *>(control)) {
                    m_marked = control;
                    m_mark->follow(control);
                }
            }
            break;
        case QEvent::FocusOut:
        case QEvent::Hide:
            if (control == m_marked) {
                m_marked = nullptr;
                m_mark->hide();
            }
            break;
        case QEvent::KeyPress: {
            auto *key = static_cast<QKeyEvent *>(event);
            auto *button = qobject_cast<QAbstractButton *>(control);
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            if (button && enter && !(key->modifiers() & ~Qt::KeypadModifier)
                && (qobject_cast<QToolButton *>(button) || qobject_cast<QPushButton *>(button))) {
                if (button->isEnabled())
                    button->click();
                return true;
            }
            break;
        }
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget *m_window;
    HintLine &m_hints;
    FocusMark *m_mark;
    QPointer<QWidget> m_marked;
};

} // namespace

void FeuilleP::setUpKeyboard()
{
    // The animation buttons and the exercise menu join the Tab chain; a click
    // on them still leaves the focus where it was, as before.
    for (QToolButton *b : {m_command18, m_image4, m_command15, m_command16, m_text->btexo()})
        b->setFocusPolicy(Qt::TabFocus);

    // The chain: command bar, tab strip, the shown panel's controls (hidden
    // panels are skipped), animation buttons, exercise menu, text.
    QList<QWidget *> chain;
    for (const char *name : {"Command13", "Command2", "Command11", "Command4", "Command10",
                             "Command8", "Command7", "Command1"})
        chain << button(QString::fromLatin1(name));
    chain << m_onglets;
    ParameterPanel *p = parameterPanel();
    for (int i : {0, 1, 5, 2, 3, 4})
        chain << p->Text5(i);
    VectorPanel *v = vectorPanel();
    chain << v->Check12() << v->Label4(2) << v->Label4(3) << v->Label4(4) << v->VScroll3()
          << v->Check5() << v->Label4(0) << v->VScroll1();
    DisplayPanel *d = displayPanel();
    chain << d->Check1() << d->Check6() << d->Check4() << d->speed() << d->Option1(0)
          << d->Option1(1) << d->Option1(2) << d->Command5() << d->Check3();
    ChronoPanel *c = chronoPanel();
    chain << c->chrono() << c->Check9() << c->Check2() << c->Label4() << c->command12();
    // Starting the animation gives the scene the focus; it sits between the
    // start and pause buttons so that Tab then reaches the pause button and
    // Shift+Tab the start button.
    chain << m_command18 << m_image4 << m_command15 << m_picture2 << m_command16 << m_text->btexo()
          << supertext();
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);

    auto *watch = new KeyboardWatch(this, *m_hints);
    for (QWidget *w : findChildren<QWidget *>()) {
        if (w->focusPolicy() != Qt::NoFocus)
            watch->watch(w);
    }

    // Shortcuts that no focused control uses. Like a click on the animation
    // buttons, they leave the focus where it is.
    const auto shortcut = [this](const QKeySequence &keys, auto action) {
        auto *s = new QShortcut(keys, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, action);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Space), [this] {
        if (m_clock->timerEnabled())
            m_clock->command16_Click();
        else
            m_clock->command15_Click();
    });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_R), [this] { m_clock->command18_Click(); });
    const auto stepTab = [this](int step) {
        // The focus leaves a panel about to be hidden for the strip, so that
        // a field being edited is validated first.
        QWidget *focus = focusWidget();
        if (focus && focus != m_onglets && m_onglets->isAncestorOf(focus))
            m_onglets->setFocus(Qt::ShortcutFocusReason);
        m_onglets->selectTab((m_onglets->currentTab() - 1 + step + 4) % 4 + 1);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), [stepTab] { stepTab(1); });
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), [stepTab] { stepTab(-1); });
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), [stepTab] { stepTab(-1); });
}

void FeuilleP::nameControls()
{
    const char *fieldNames[ParameterFields::Count] = {
        "Rayon R, de 0,5 à 50, en cm",
        "Masse m, de 1 à 50 000, en g",
        "Hauteur de lorva h, de 0,1 à 2 000, en m",
        "Viscosité η, de 0,000 001 à 5, en N·s/m²",
        "Masse volumique du fluide ρ, de 0,1 à 1 500, en kg/m³",
        "Masse volumique de la sphère ρ, de 0,1 à 20 000, en kg/m³",
    };
    for (int i = 0; i < ParameterFields::Count; ++i)
        parameterPanel()->Text5(i)->setAccessibleName(QString::fromUtf8(fieldNames[i]));
    chronoPanel()->chrono()->setAccessibleName(
        QStringLiteral("Durée τ entre deux chronophotographies, de 10 à 5 000, en ms"));

    const char *swatchNames[DisplayOptions::swatchCount]
        = {"Couleur du vecteur vitesse", "Couleur des marques de chronophotographie",
           "Couleur du poids", "Couleur de la poussée d'Archimède", "Couleur du frottement"};
    for (int i = 0; i < DisplayOptions::swatchCount; ++i)
        m_onglets->Label4(i)->setAccessibleName(QString::fromUtf8(swatchNames[i]));
    vectorPanel()->VScroll3()->setAccessibleName(QStringLiteral("Échelle des vecteurs forces"));
    vectorPanel()->VScroll1()->setAccessibleName(QStringLiteral("Échelle du vecteur vitesse"));
    const QString spinnerUse
        = QStringLiteral("Flèche haut : allonger la barre ; flèche bas : la raccourcir");
    vectorPanel()->VScroll3()->setAccessibleDescription(spinnerUse);
    vectorPanel()->VScroll1()->setAccessibleDescription(spinnerUse);

    // The animation buttons show only a picture: their tooltip names them.
    for (QToolButton *b : {m_command18, m_image4, m_command15, m_command16})
        b->setAccessibleName(b->toolTip());
    m_text->btexo()->setAccessibleName(QStringLiteral("Exercices"));
    m_text->btexo()->setAccessibleDescription(
        QStringLiteral("Ouvrir un énoncé, enregistrer le texte, obtenir la correction, "
                       "imprimer ou fermer"));
    supertext()->setAccessibleName(QStringLiteral("Texte"));
    fich()->setAccessibleName(QStringLiteral("Fichier de l'exercice"));

    // The panels are the strip's pages, named by their tabs.
    const std::array<QWidget *, 4> panels
        = {parameterPanel(), vectorPanel(), displayPanel(), chronoPanel()};
    for (int i = 0; i < 4; ++i) {
        Accessibility::setRole(panels[i], QAccessible::PropertyPage);
        panels[i]->setAccessibleName(TabStrip::tabCaption(i + 1));
    }

    Accessibility::setRole(m_picture2, QAccessible::Graphic);
    m_picture2->setAccessibleName(QStringLiteral("Animation"));
    m_picture2->setAccessibleDescription(
        QStringLiteral("Chute de la sphère dans la colonne de fluide"));
    Accessibility::setRole(m_frame1, QAccessible::Graphic);
    m_frame1->setAccessibleName(QStringLiteral("Graphe"));
    m_frame1->setAccessibleDescription(
        QStringLiteral("Graphe de la grandeur choisie en fonction du temps ; le bouton "
                       "Agrandir de l'onglet Affichage l'agrandit"));
}
