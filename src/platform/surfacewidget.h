// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drawingsurface.h"

#include <QWidget>

// A widget that shows a DrawingSurface: the picture areas of the windows
// (scene, graphs, panels, tab strip, read-out panel, window background).
// The surface is the widget's own and always has the widget's size; code
// draws into surface() and then calls update() to show the result.
//
// The picture is kept between paints, so an uncovered widget is simply shown
// again. Areas whose owner repaints them from scratch instead (the tab strip
// and the option panels) set repaintedByHandler: whenever such a widget is
// shown or resized, or refresh() is called, its surface is cleared and
// paintRequested() is emitted so the connected handler draws it again.
//
// Mouse events are passed on as signals with positions in surface pixels.
class SurfaceWidget : public QWidget
{
    Q_OBJECT

public:
    explicit SurfaceWidget(QWidget *parent = nullptr);

    // The surface, at the widget's size (a hidden widget hears of its size
    // only when shown, so the surface follows it here).
    DrawingSurface &surface();
    const DrawingSurface &surface() const { return m_surface; }
    // Replaces the surface (its picture, colours, font and layers), resized to
    // the widget, and schedules a repaint.
    void setSurface(const DrawingSurface &surface);

    bool repaintedByHandler() const { return m_repaintedByHandler; }
    void setRepaintedByHandler(bool on) { m_repaintedByHandler = on; }

    // For a handler-painted widget: clears the surface, emits
    // paintRequested() at once and schedules a repaint. For the others it
    // only schedules the repaint.
    void refresh();

    QSize sizeHint() const override;

    // Whole device pixels per pixel for a picture drawn for widget's screen:
    // its density rounded up (Qt scales the picture down for fractional
    // ratios).
    static int screenRatio(const QWidget &widget);

signals:
    // The surface has been cleared and must be drawn again.
    void paintRequested();
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    // Also sent without a button held (mouse tracking is on).
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint position);
    void mouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);

protected:
    // A move to a screen of another density: a visible handler-painted widget
    // is drawn again at once at the new density (the others keep their
    // picture, scaled, until their owner draws again).
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int screenRatio() const { return screenRatio(*this); }

    DrawingSurface m_surface;
    bool m_repaintedByHandler = false;
};
