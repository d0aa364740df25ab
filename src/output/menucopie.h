#pragma once

#include <QObject>
#include <QPoint>

#include <functional>

class PlatformServices;
class QAction;
class QImage;
class QMenu;
class QWidget;

// menucopie, the pop-up menu of "Co&pier": "Copier l'animation" (copim) puts
// the scene's picture on the clipboard, "Copier le graphe" (copigraph) the
// small graph's. The pictures are taken as they are: nothing is redrawn and
// a running animation goes on.
class MenuCopie : public QObject
{
    Q_OBJECT

public:
    // A picture as currently drawn on screen.
    using PictureSource = std::function<QImage()>;

    // The menu is a child of parent, which it follows.
    MenuCopie(PlatformServices &services, PictureSource animation, PictureSource graph,
              QWidget *parent);

    QMenu *menucopie() const { return m_menu; }
    QAction *copim() const { return m_copim; }
    QAction *copigraph() const { return m_copigraph; }

    // Command4_Click: shows the menu at globalPosition (the pointer's) and
    // returns at once; the chosen item does the copy.
    void popup(const QPoint &globalPosition);
    void popupAtPointer();

    void copim_Click();
    void copigraph_Click();

private:
    void copy(const PictureSource &source);

    PlatformServices &m_services;
    PictureSource m_animation;
    PictureSource m_graph;
    QMenu *m_menu = nullptr;
    QAction *m_copim = nullptr;
    QAction *m_copigraph = nullptr;
};
