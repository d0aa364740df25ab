// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QIconEngine>

#include <functional>

// An icon painted by a function on a design grid (20 × 20 for the command
// buttons), drawn only when a size is first asked for and kept for that size
// and mode. Any size and screen density gets a sharp picture, and nothing is
// painted for an icon that is never shown.
class PaintedIconEngine : public QIconEngine
{
public:
    using Draw = std::function<void(QPainter &)>;

    // draw paints the icon in design units, with antialiasing on; design is
    // the grid's size, which the icon keeps in proportion.
    PaintedIconEngine(Draw draw, QSize design);

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    // A picture of exactly size device pixels (the design scaled to fit,
    // centred); the disabled and selected modes as the style makes them.
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QIconEngine *clone() const override;
    QString key() const override;

private:
    // The normal picture of exactly size device pixels, not cached.
    QPixmap painted(const QSize &size) const;

    Draw m_draw;
    QSize m_design;
    // By mode and size in device pixels.
    QHash<quint64, QPixmap> m_cache;
};
