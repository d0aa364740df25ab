#include "menucopie.h"

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
    m_copim = m_menu->addAction(QStringLiteral("Copier l'&animation"));
    m_copim->setObjectName(QStringLiteral("copim"));
    m_copigraph = m_menu->addAction(QStringLiteral("Copier le &graphe"));
    m_copigraph->setObjectName(QStringLiteral("copigraph"));
    connect(m_copim, &QAction::triggered, this, &MenuCopie::copim_Click);
    connect(m_copigraph, &QAction::triggered, this, &MenuCopie::copigraph_Click);
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
