// SPDX-License-Identifier: GPL-3.0-or-later
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
// small graph's; after a separator, "Enregistrer l'image…" (enrim) and
// "Enregistrer le graphe…" (enrgraph) save the same pictures as PNG files
// chosen through the platform services. The pictures are taken as they are
// when the item is chosen: nothing is redrawn and a running animation goes on.
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
    QAction *enrim() const { return m_enrim; }
    QAction *enrgraph() const { return m_enrgraph; }

    // Command4_Click: shows the menu at globalPosition (the pointer's) and
    // returns at once; the chosen item does its copy or save.
    void popup(const QPoint &globalPosition);
    void popupAtPointer();

    void copim_Click();
    void copigraph_Click();
    // Ask for a PNG file name ("animation.png" / "graphe.png" offered) and
    // write the picture there; a cancel writes nothing, a failure shows a
    // French message and leaves any previous file as it was.
    void enrim_Click();
    void enrgraph_Click();

private:
    void copy(const PictureSource &source);
    void save(const PictureSource &source, const QString &title, const QString &defaultName);

    PlatformServices &m_services;
    PictureSource m_animation;
    PictureSource m_graph;
    QMenu *m_menu = nullptr;
    QAction *m_copim = nullptr;
    QAction *m_copigraph = nullptr;
    QAction *m_enrim = nullptr;
    QAction *m_enrgraph = nullptr;
};
