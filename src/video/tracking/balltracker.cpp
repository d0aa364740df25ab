// SPDX-License-Identifier: GPL-3.0-or-later
#include "balltracker.h"

#include "calibration.h"

#include "core/numberformat.h"
#include "video/framesource.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The template spans the ball and a ring of background around it: the
// ring's contrast with the ball is what pins the peak down.
constexpr double templateSpan = 1.5;
constexpr int minTemplateHalf = 3;
// Searches moved along when the best score sits on the window's edge.
constexpr int maxRecentring = 3;
// Beyond this gap since the previous point, its velocity is stale.
constexpr int maxVelocityGap = 10;
// The search costs the template's area times the window's: beyond this
// radius (a ball filling a sixth of a 720 px wide picture) a frame would take
// seconds.
constexpr double maxRadius = 60.0;

QPoint nearestPixel(QPointF p)
{
    return QPoint(int(std::lround(p.x())), int(std::lround(p.y())));
}

} // namespace

BallTracker::BallTracker(FrameSource &source, const TrackerSettings &settings)
    : m_source(source)
    , m_settings(settings)
{ }

void BallTracker::clear()
{
    m_points.clear();
    m_refreshes.clear();
    m_template = MatchTemplate();
    m_current = -1;
    m_stop = Stop::None;
    m_stopFrame = -1;
}

bool BallTracker::takeTemplate(const QImage &image, QPointF centre, double minSymmetry)
{
    const int half = std::max(minTemplateHalf, int(std::ceil(templateSpan * m_radius)));
    // The pixel that holds the centre; pixel (i, j) has its centre at (i + ½, j + ½).
    const QPoint pixel(int(std::floor(centre.x())), int(std::floor(centre.y())));
    MatchTemplate tmpl(image, pixel, half);
    if (tmpl.isEmpty() || tmpl.halfTurnSymmetry() < minSymmetry)
        return false;
    m_template = std::move(tmpl);
    m_anchorOffset = centre - QPointF(pixel.x() + 0.5, pixel.y() + 0.5);
    m_firstScore = std::numeric_limits<double>::quiet_NaN();
    return true;
}

bool BallTracker::start(int frame, QPointF centre)
{
    m_error.clear();
    if (frame < 0 || frame >= m_source.frameCount()) {
        m_error = QStringLiteral("L'image %1 n'existe pas dans cette vidéo.").arg(frame);
        return false;
    }
    const QImage image = m_source.frame(frame);
    if (image.isNull()) {
        m_error = QStringLiteral("L'image %1 ne peut pas être lue.").arg(frame);
        return false;
    }
    if (!image.rect().contains(nearestPixel(centre))) {
        m_error = QStringLiteral("Le point cliqué est hors de l'image.");
        return false;
    }
    double radius = m_settings.radius;
    if (!(radius > 0.0))
        radius = estimateBallRadius(image, centre);
    if (!(radius > 0.0)) {
        m_error = QStringLiteral("Aucune bille ne se détache du fond à l'endroit cliqué : "
                                 "cliquez au centre de la bille.");
        return false;
    }
    if (radius > maxRadius) {
        m_error = QStringLiteral("La bille est trop grande dans l'image (rayon de plus de %1 "
                                 "pixels) pour être suivie : filmez de plus loin.")
                      .arg(maxRadius);
        return false;
    }
    m_radius = radius;
    if (!takeTemplate(image, centre)) {
        m_error = QStringLiteral("La bille est trop près du bord de l'image (ou le fond y est "
                                 "uniforme) pour être suivie depuis l'image %1.")
                      .arg(frame);
        return false;
    }
    const int half = m_template.half();
    m_belowSurface = std::isfinite(m_settings.surfaceRow)
        && centre.y() - (half + 0.5) >= m_settings.surfaceRow;
    TrackPoint point;
    point.frame = frame;
    point.time = m_source.timeOf(frame);
    point.centre = centre;
    point.origin = TrackPoint::Origin::Click;
    m_points[frame] = point;
    m_current = frame;
    m_stop = Stop::None;
    m_stopFrame = -1;
    return true;
}

bool BallTracker::setManual(int frame, QPointF centre)
{
    if (frame < 0 || frame >= m_source.frameCount() || !std::isfinite(centre.x())
        || !std::isfinite(centre.y()))
        return false;
    TrackPoint point;
    point.frame = frame;
    point.time = m_source.timeOf(frame);
    point.centre = centre;
    point.origin = TrackPoint::Origin::Manual;
    m_points[frame] = point;
    return true;
}

QPointF BallTracker::predictedCentre(int frame, bool *known) const
{
    const auto last = m_points.find(m_current);
    *known = false;
    if (last == m_points.end())
        return QPointF();
    const TrackPoint &p1 = last->second;
    if (last == m_points.begin())
        return p1.centre;
    const TrackPoint &p0 = std::prev(last)->second;
    const double dt0 = p1.time - p0.time;
    const double dt = m_source.timeOf(frame) - p1.time;
    if (p1.frame - p0.frame > maxVelocityGap || !(dt0 > 0.0) || !std::isfinite(dt))
        return p1.centre;
    *known = true;
    const QPointF velocity = (p1.centre - p0.centre) / dt0; // px/s
    return p1.centre + velocity * dt;
}

void BallTracker::stopAt(Stop reason, int frame, double score)
{
    m_stop = reason;
    m_stopFrame = frame;
    m_stopScore = score;
}

bool BallTracker::trackFrame(int frame)
{
    const QImage image = m_source.frame(frame);
    if (image.isNull()) {
        stopAt(Stop::Unreadable, frame);
        return false;
    }
    const int half = m_template.half();
    const QRect fits(half, half, image.width() - 2 * half, image.height() - 2 * half);
    bool known = false;
    const QPointF predicted = predictedCentre(frame, &known);
    const QPointF lastCentre = m_points.at(m_current).centre;
    // A known velocity leaves only the change of velocity to find (half the
    // step covers a doubled speed, and a window whose best score lies on its
    // edge moves on); after a click the ball may be a diameter or more away.
    const double step = std::hypot(predicted.x() - lastCentre.x(), predicted.y() - lastCentre.y());
    const int margin = known ? int(std::ceil(std::max(6.0, 0.25 * m_radius) + 0.5 * step))
                             : int(std::ceil(2.0 * m_radius + 16.0));
    QPoint centre = nearestPixel(predicted - m_anchorOffset - QPointF(0.5, 0.5));
    if (!fits.contains(centre)) {
        stopAt(Stop::LeftPicture, frame);
        return false;
    }
    TemplateMatch match;
    for (int attempt = 0;; ++attempt) {
        match = m_matcher.search(
            image, m_template,
            QRect(centre.x() - margin, centre.y() - margin, 2 * margin + 1, 2 * margin + 1));
        if (!match.found) {
            stopAt(Stop::LeftPicture, frame);
            return false;
        }
        if (!match.onEdge || attempt == maxRecentring)
            break;
        const QPoint p = match.pixel;
        if (p.x() == fits.left() || p.x() == fits.right() || p.y() == fits.top()
            || p.y() == fits.bottom()) {
            stopAt(Stop::LeftPicture, frame);
            return false;
        }
        centre = p;
    }
    if (match.score < m_settings.lostBelow) {
        stopAt(Stop::Lost, frame, match.score);
        return false;
    }

    TrackPoint point;
    point.frame = frame;
    point.time = m_source.timeOf(frame);
    point.centre = match.position + QPointF(0.5, 0.5) + m_anchorOffset;
    point.correlation = match.score;
    point.origin = TrackPoint::Origin::Tracked;
    m_points[frame] = point;
    m_current = frame;

    const bool firstMatch = std::isnan(m_firstScore);
    if (firstMatch)
        m_firstScore = match.score;
    const bool crossed = std::isfinite(m_settings.surfaceRow) && !m_belowSurface
        && point.centre.y() - (half + 0.5) >= m_settings.surfaceRow;
    if (crossed)
        m_belowSurface = true;
    if (crossed) {
        if (takeTemplate(image, point.centre))
            m_refreshes.push_back(frame);
    } else if (!firstMatch && match.score < m_settings.refreshBelow
               && match.score < m_firstScore - m_settings.refreshDrop) {
        if (takeTemplate(image, point.centre, m_settings.wholeBallSymmetry))
            m_refreshes.push_back(frame);
    }
    return true;
}

BallTracker::Stop BallTracker::run(int lastFrame, const std::function<bool(int)> &progress)
{
    if (m_template.isEmpty() || m_points.find(m_current) == m_points.end())
        return m_stop;
    const int end = lastFrame < 0 ? m_source.frameCount() - 1
                                  : std::min(lastFrame, m_source.frameCount() - 1);
    m_stop = Stop::None;
    m_stopFrame = -1;
    for (int frame = m_current + 1; frame <= end; ++frame) {
        if (!trackFrame(frame))
            return m_stop;
        if (progress && !progress(frame)) {
            stopAt(Stop::Cancelled, frame);
            return m_stop;
        }
    }
    stopAt(Stop::End, m_current);
    return m_stop;
}

QString BallTracker::stopMessage() const
{
    if (m_stopFrame < 0)
        return QString();
    const QString time = NumberFormat::significant(m_source.timeOf(m_stopFrame), 4);
    switch (m_stop) {
    case Stop::None:
        break;
    case Stop::End:
        return QStringLiteral("Bille suivie jusqu'à l'image %1 (t = %2 s).")
            .arg(m_stopFrame)
            .arg(time);
    case Stop::Lost:
        return QStringLiteral("Bille perdue à l'image %1 (t = %2 s) : corrélation %3 sous le "
                              "seuil %4. Cliquez la bille pour reprendre le suivi.")
            .arg(m_stopFrame)
            .arg(time, NumberFormat::significant(m_stopScore, 2),
                 NumberFormat::significant(m_settings.lostBelow, 2));
    case Stop::LeftPicture:
        return QStringLiteral("La bille sort de l'image à l'image %1 (t = %2 s).")
            .arg(m_stopFrame)
            .arg(time);
    case Stop::Unreadable:
        return QStringLiteral("L'image %1 (t = %2 s) ne peut pas être lue : suivi arrêté.")
            .arg(m_stopFrame)
            .arg(time);
    case Stop::Cancelled:
        return QStringLiteral("Suivi interrompu à l'image %1 (t = %2 s).")
            .arg(m_stopFrame)
            .arg(time);
    }
    return QString();
}
