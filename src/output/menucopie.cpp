// SPDX-License-Identifier: GPL-3.0-or-later
#include "menucopie.h"

#include "output/fileexport.h"
#include "platform/accessiblemenus.h"
#include "platform/platformservices.h"

#include <QCursor>
#include <QImage>
#include <QMenu>

MenuCopie::MenuCopie(PlatformServices &services, PictureSource animation, PictureSource graph,
                     QWidget *parent)
    : QObject(parent)
    , m_services(services)
    , m_animation(std::move(animation))
    , m_graph(std::move(graph))
    , m_menu(new QMenu(parent))
{
    m_menu->setObjectName(QStringLiteral("menucopie"));
    m_menu->setAccessibleName(QStringLiteral("Copier"));
    AccessibleMenus::expose(m_menu);
    m_copim = m_menu->addAction(QStringLiteral("Copier l'&animation"));
    m_copim->setObjectName(QStringLiteral("copim"));
    m_copigraph = m_menu->addAction(QStringLiteral("Copier le &graphe"));
    m_copigraph->setObjectName(QStringLiteral("copigraph"));
    m_menu->addSeparator();
    // Access keys apart from the copies' (a, g).
    m_enrim = m_menu->addAction(QStringLiteral("Enregistrer l'&image…"));
    m_enrim->setObjectName(QStringLiteral("enrim"));
    m_enrgraph = m_menu->addAction(QStringLiteral("En&registrer le graphe…"));
    m_enrgraph->setObjectName(QStringLiteral("enrgraph"));
    connect(m_copim, &QAction::triggered, this, &MenuCopie::copim_Click);
    connect(m_copigraph, &QAction::triggered, this, &MenuCopie::copigraph_Click);
    connect(m_enrim, &QAction::triggered, this, &MenuCopie::enrim_Click);
    connect(m_enrgraph, &QAction::triggered, this, &MenuCopie::enrgraph_Click);
}

void MenuCopie::popup(const QPoint &globalPosition)
{
    m_menu->popup(globalPosition);
}

void MenuCopie::popupAtPointer()
{
    popup(QCursor::pos());
}

void MenuCopie::copim_Click()
{
    copy(m_animation);
}

void MenuCopie::copigraph_Click()
{
    copy(m_graph);
}

void MenuCopie::copy(const PictureSource &source)
{
    // The services clear the clipboard before putting the picture on it.
    if (!source)
        return;
    const QImage picture = source();
    if (!picture.isNull())
        m_services.setClipboardImage(picture);
}

void MenuCopie::enrim_Click()
{
    save(m_animation, QStringLiteral("Enregistrer l'image"), QStringLiteral("animation.png"));
}

void MenuCopie::enrgraph_Click()
{
    save(m_graph, QStringLiteral("Enregistrer le graphe"), QStringLiteral("graphe.png"));
}

void MenuCopie::save(const PictureSource &source, const QString &title, const QString &defaultName)
{
    // The picture is taken before the file dialog opens: the file holds what
    // was on screen when the item was chosen, even if the animation runs on.
    if (!source)
        return;
    const QImage picture = source();
    if (picture.isNull())
        return;
    FileExport::savePng(picture, m_services, title, defaultName);
}
