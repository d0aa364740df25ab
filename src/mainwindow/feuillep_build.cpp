// SPDX-License-Identifier: GPL-3.0-or-later
// Creation and placement of the main window's controls.
#include "feuillep.h"

#include "accessibility.h"
#include "icons.h"
#include "parameteredit.h"
#include "parameterpanel.h"
#include "tabstrip.h"
#include "textarea.h"

#include "platform/arialfont.h"
#include "platform/surfacewidget.h"
#include "scene/readoutpanel.h"

#include <QFrame>
#include <QLabel>
#include <QToolButton>

namespace {

// Client-area layout of the main window, in pixels.
constexpr QRect ongletsRect(8, 48, 297, 329);
constexpr QRect infoRect(64, 416, 233, 33);
constexpr QRect picture4Rect(8, 456, 297, 89);
constexpr QRect picture2Rect(312, 48, 113, 497);
constexpr QRect frame1Rect(432, 48, 361, 265);
constexpr QRect fichRect(432, 320, 361, 19);
constexpr QRect supertextRect(432, 339, 361, 206);
constexpr int animationButtonsY = 384;
constexpr int border = 2; // sunken border of the picture areas
constexpr QSize clientSize(800, 572);

// Places a picture area inside the classic sunken 2-pixel border.
template<class Surface>
Surface *framed(Surface *surface, QWidget *parent, const QRect &outer, const QString &name)
{
    auto *frame = new QFrame(parent);
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setLineWidth(border);
    frame->setGeometry(outer);
    surface->setParent(frame);
    surface->setObjectName(name);
    surface->setGeometry(border, border, outer.width() - 2 * border, outer.height() - 2 * border);
    return surface;
}

} // namespace

QFont FeuilleP::windowFont()
{
    return ArialFont::designPixels(8);
}

void FeuilleP::setUpWindow()
{
    setObjectName(QStringLiteral("feuilleP"));
    setWindowTitle(QStringLiteral("Lorva avec frottement"));
    setFont(windowFont());
    setMouseTracking(true);
    // 800 × 600 with the window frame: the client area under a title bar.
    setFixedSize(clientSize);
    // The background picture covers the window: erasing it first would cost
    // a fill of the whole window at every paint.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FeuilleP::createCommandBar()
{
    struct Command
    {
        const char *name;
        const char *caption;
        const char *toolTip;
        QIcon (*icon)();
        int x;
        int width;
    };
    const Command commands[] = {
        {"Command13", "&Effacer", "Effacer l'image", &Icons::erase, 0, 97},
        {"Command2", "&Ouvrir", "Retrouver une configuration", &Icons::open, 96, 97},
        {"Command11", "&Enregistrer", "Enregistrer la configuration actuelle", &Icons::save, 192,
         105},
        {"Command4", "Co&pier", "Placer l'image dans le presse-papiers", &Icons::copy, 296, 97},
        {"Command10", "&Imprimer", "Imprimer l'image", &Icons::print, 392, 105},
        {"Command8", "&Calculatrice", "Machine à calculer", &Icons::calculator, 496, 105},
        {"Command7", "&Aide", "Aide pour utiliser cette application", &Icons::help, 600, 97},
        {"Command1", "&Fermer", "Quitter cette application", &Icons::close, 696, 97},
    };
    for (const Command &c : commands) {
        auto *b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(c.name));
        b->setText(QString::fromUtf8(c.caption));
        b->setToolTip(QString::fromUtf8(c.toolTip));
        b->setIcon(c.icon());
        b->setIconSize(QSize(20, 20));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setGeometry(c.x, 0, c.width, 41);
        // Clicking a command takes the focus, so a field being edited is validated first.
        b->setFocusPolicy(Qt::StrongFocus);
    }
}

void FeuilleP::createPanels()
{
    m_onglets = new TabStrip(this);
    m_onglets->setGeometry(ongletsRect);
    // The fields as they stand before the load step: the sphere density is
    // made consistent with the mass at the first activation.
    const char *designed[ParameterFields::Count] = {"", "", "1", "0,2", "800", "0"};
    for (int i = 0; i < ParameterFields::Count; ++i)
        parameterPanel()->Text5(i)->setText(QString::fromLatin1(designed[i]));

    m_picture2 = framed(new SurfaceWidget, this, picture2Rect, QStringLiteral("Picture2"));
    m_picture2->setCursor(Qt::CrossCursor);
    m_picture2->setFocusPolicy(Qt::ClickFocus);

    m_frame1 = framed(new SurfaceWidget, this, frame1Rect, QStringLiteral("Frame1"));
    m_frame1->surface().setBackColor(Qt::white);
    m_frame1->setCursor(Icons::graphCursor());

    m_picture4 = framed(new ReadoutPanel, this, picture4Rect, QStringLiteral("Picture4"));

    m_text = new TextArea(this, fichRect, supertextRect);
}

void FeuilleP::createAnimationControls()
{
    struct Control
    {
        QToolButton *FeuilleP::*member;
        const char *name;
        const char *toolTip;
        QIcon (*icon)();
        int x;
    };
    const Control controls[] = {
        {&FeuilleP::m_command18, "command18", "Retrouver la position initiale", &Icons::reset, 144},
        {&FeuilleP::m_image4, "Image4", "Stop", &Icons::stop, 176},
        {&FeuilleP::m_command15, "command15", "Simulation", &Icons::start, 208},
        {&FeuilleP::m_command16, "command16", "Pause", &Icons::pause, 240},
    };
    for (const Control &c : controls) {
        auto *b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(c.name));
        b->setToolTip(QString::fromUtf8(c.toolTip));
        b->setIcon(c.icon());
        b->setIconSize(QSize(18, 18));
        b->setGeometry(c.x, animationButtonsY, 24, 24);
        b->setFocusPolicy(Qt::NoFocus);
        this->*c.member = b;
    }

    m_info = new QLabel(this);
    m_info->setObjectName(QStringLiteral("info"));
    // Assistive tools hear the hint line as the window's status bar.
    Accessibility::setRole(m_info, QAccessible::StatusBar);
    m_info->setGeometry(infoRect);
    m_info->setAutoFillBackground(true);
    m_info->setWordWrap(true);
    m_info->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_info->setMargin(2);
    m_info->setFrameStyle(QFrame::Box | QFrame::Plain);
    QPalette tip = m_info->palette();
    tip.setColor(QPalette::Window, tip.color(QPalette::ToolTipBase));
    tip.setColor(QPalette::WindowText, tip.color(QPalette::ToolTipText));
    m_info->setPalette(tip);
}
