// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "templatematch.h"

#include "measures/measuredpoint.h"

#include <QPointF>
#include <QString>

#include <functional>
#include <limits>
#include <map>
#include <vector>

class FrameSource;
struct Calibration;

struct TrackerSettings
{
    static constexpr double nan = std::numeric_limits<double>::quiet_NaN();

    // The ball's radius in the picture, px; 0: estimated around the click.
    double radius = 0.0;
    // Below this correlation the ball is lost and tracking stops.
    double lostBelow = 0.5;
    // Between lostBelow and this correlation the ball still is where the
    // peak says, but its picture has changed (it entered the liquid, its
    // blur grew): the template is taken again at the new centre. Each new
    // template carries the error of the centre it was taken at, so it is
    // renewed only for a real change: the correlation must also lie
    // refreshDrop below the one the template gave in its first frame (the
    // noise of the video sets that level), and the new picture must look
    // like a whole ball (MatchTemplate::halfTurnSymmetry at least
    // wholeBallSymmetry), not one half hidden by a label, whose edge the
    // tracker would then follow. 0 turns it off.
    double refreshBelow = 0.9;
    double refreshDrop = 0.1;
    double wholeBallSymmetry = 0.8;
    // The picture row (px, y downwards) of the liquid's surface, NaN when not
    // given. The template is taken again once, in the first frame where the
    // whole template lies below that row, for the ball looks different in
    // the liquid (the tube magnifies it sideways, the lighting changes).
    double surfaceRow = nan;
};

// One centre of the ball, in picture pixels of the upright frame (see
// Calibration for the coordinates).
struct TrackPoint
{
    enum class Origin {
        Click,   // the user clicked the ball to start or resume tracking
        Tracked, // found by correlation
        Manual,  // clicked in manual mode
    };
    int frame = 0;
    double time = 0.0;                                             // s, FrameSource::timeOf
    QPointF centre;                                                // px
    double correlation = std::numeric_limits<double>::quiet_NaN(); // NaN unless tracked
    Origin origin = Origin::Tracked;
};

// Follows the ball from frame to frame of a FrameSource. The user clicks the
// ball once (start), then run() tracks the following frames until the end,
// the ball is lost or it leaves the picture; a later start() from a new click
// continues the same track. setManual() records a centre without tracking.
//
// The track is kept as pixel centres: positions along the fall are computed
// from them by toMeasurements() with whatever calibration is current.
class BallTracker
{
public:
    enum class Stop {
        None,        // not stopped (no run yet, or a run still going)
        End,         // the last frame asked for was tracked
        Lost,        // the correlation fell below TrackerSettings::lostBelow
        LeftPicture, // the ball's template no longer fits inside the picture
        Unreadable,  // a frame could not be decoded
        Cancelled,   // the progress callback asked to stop
    };

    explicit BallTracker(FrameSource &source, const TrackerSettings &settings = {});

    // The user clicks the ball at centre (px) in frame: the template is taken
    // there and tracking will go on from that frame. The track keeps its
    // earlier points. False with errorString() in French when the frame
    // cannot be read or no ball can be followed there.
    bool start(int frame, QPointF centre);
    QString errorString() const { return m_error; }

    // Tracks the frames after the last one reached, up to lastFrame (the
    // video's last frame when −1). progress(frame) is called after each frame
    // and returns false to cancel. Returns why it stopped; stopMessage() says
    // it in French.
    Stop run(int lastFrame = -1, const std::function<bool(int)> &progress = {});
    Stop stopReason() const { return m_stop; }
    int stopFrame() const { return m_stopFrame; } // the frame where it stopped, −1 when none
    QString stopMessage() const;

    // Manual mode: the centre of frame is where the user clicked.
    bool setManual(int frame, QPointF centre);
    void clear();

    const std::map<int, TrackPoint> &points() const { return m_points; }
    double radius() const { return m_radius; }
    // The frames where the template was taken again (surface or changed picture).
    const std::vector<int> &refreshFrames() const { return m_refreshes; }

private:
    bool takeTemplate(const QImage &image, QPointF centre, double minSymmetry = -1.0);
    bool trackFrame(int frame);
    QPointF predictedCentre(int frame, bool *known) const;
    void stopAt(Stop reason, int frame, double score = 0.0);

    FrameSource &m_source;
    TrackerSettings m_settings;
    TemplateMatcher m_matcher;
    MatchTemplate m_template;
    QPointF m_anchorOffset; // ball centre − the template's centre pixel, px
    // The template's correlation in the first frame matched after it was
    // taken; NaN until then, which tells trackFrame the next match is that one.
    double m_firstScore = std::numeric_limits<double>::quiet_NaN();
    double m_radius = 0.0;
    int m_current = -1; // the last frame reached by the current run
    bool m_belowSurface = false;
    std::map<int, TrackPoint> m_points;
    std::vector<int> m_refreshes;
    Stop m_stop = Stop::None;
    int m_stopFrame = -1;
    double m_stopScore = 0.0;
    QString m_error;
};

// The radius of the ball around centre (px) in image: the median distance,
// over eight directions, at which the grey level crosses halfway between the
// ball's and the background's. 0 when no round contrast is found.
double estimateBallRadius(const QImage &image, QPointF centre);

// Measured points for the fit: t from the frame times, y along the fall with
// calibration, source the frame number. An invalid calibration gives no points.
MeasurementSet toMeasurements(const std::map<int, TrackPoint> &points,
                              const Calibration &calibration, const QString &sourceName);
