// SPDX-License-Identifier: GPL-3.0-or-later
#include "paintedicon.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

PaintedIconEngine::PaintedIconEngine(Draw draw, QSize design)
    : m_draw(std::move(draw))
    , m_design(design)
{ }

void PaintedIconEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode,
                              QIcon::State state)
{
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    QPixmap picture = pixmap(rect.size() * ratio, mode, state);
    picture.setDevicePixelRatio(ratio);
    painter->drawPixmap(rect, picture);
}

QPixmap PaintedIconEngine::painted(const QSize &size) const
{
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    if (m_draw && !m_design.isEmpty()) {
        QPainter p(&picture);
        p.setRenderHint(QPainter::Antialiasing);
        const qreal scale = std::min(qreal(size.width()) / m_design.width(),
                                     qreal(size.height()) / m_design.height());
        p.translate((size.width() - m_design.width() * scale) / 2,
                    (size.height() - m_design.height() * scale) / 2);
        p.scale(scale, scale);
        m_draw(p);
    }
    return picture;
}

QPixmap PaintedIconEngine::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state)
{
    if (size.isEmpty())
        return QPixmap();
    if (mode == QIcon::Active)
        mode = QIcon::Normal;
    const quint64 key
        = (quint64(mode) << 48) | (quint64(size.width()) << 24) | quint64(size.height());
    const auto found = m_cache.constFind(key);
    if (found != m_cache.cend())
        return *found;
    QPixmap picture;
    if (mode == QIcon::Normal) {
        picture = painted(size);
    } else {
        // Disabled and selected icons look as the style makes them from the
        // normal picture, like the icons Qt keeps as pixmaps.
        picture = pixmap(size, QIcon::Normal, state);
        QStyleOption option;
        option.palette = QApplication::palette();
        if (QApplication::style())
            picture = QApplication::style()->generatedIconPixmap(mode, picture, &option);
    }
    m_cache.insert(key, picture);
    return picture;
}

QSize PaintedIconEngine::actualSize(const QSize &size, QIcon::Mode, QIcon::State)
{
    // The design's proportions, no larger than asked for; an icon is
    // painted larger than its design on request (a 2x screen asks for twice
    // the size).
    return m_design.scaled(size, Qt::KeepAspectRatio);
}

QList<QSize> PaintedIconEngine::availableSizes(QIcon::Mode, QIcon::State)
{
    return {m_design};
}

QIconEngine *PaintedIconEngine::clone() const
{
    return new PaintedIconEngine(m_draw, m_design);
}

QString PaintedIconEngine::key() const
{
    return QStringLiteral("PaintedIconEngine");
}
