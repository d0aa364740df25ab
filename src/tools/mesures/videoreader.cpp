// SPDX-License-Identifier: GPL-3.0-or-later
#include "videoreader.h"

#include "video/tracking/balltracker.h"
#include "video/tracking/calibration.h"
#include "video/tracking/refraction.h"
#include "video/videofile.h"

#include <QFileInfo>
#include <QTextStream>

#include <cmath>

std::optional<MeasurementSet> readVideo(const MeasureCommand::VideoRequest &request, QString *error,
                                        QTextStream &err)
{
    VideoFile video;
    if (!video.open(request.path)) {
        *error = video.errorString();
        return std::nullopt;
    }
    if (video.hasSpeedRamps()) {
        *error = video.warning();
        return std::nullopt;
    }
    if (request.captureRate > 0.0)
        video.setCaptureRate(request.captureRate);
    video.setPixelFormat(QImage::Format_Grayscale8);
    if (request.frame >= video.frameCount()) {
        *error = QStringLiteral("La vidéo n'a que %1 images (--image %2).")
                     .arg(video.frameCount())
                     .arg(request.frame);
        return std::nullopt;
    }
    const QSize size = video.frameSize();
    for (const QPointF &p : {request.scaleStart, request.scaleEnd, request.ball, request.origin}) {
        if (p.x() > size.width() || p.y() > size.height()) {
            *error = QStringLiteral("Le point %1,%2 est hors de l'image (%3 × %4 px).")
                         .arg(p.x())
                         .arg(p.y())
                         .arg(size.width())
                         .arg(size.height());
            return std::nullopt;
        }
    }

    Calibration calibration;
    calibration.scaleStart = request.scaleStart;
    calibration.scaleEnd = request.scaleEnd;
    calibration.scaleDistance = request.scaleDistance;
    calibration.origin = request.hasOrigin ? request.origin : request.ball;
    VideoScale::RefractionFactor refraction;
    if (request.placement != MeasureCommand::VideoRequest::Placement::Immersed) {
        TubeOptics optics;
        optics.refractiveIndex = request.refractiveIndex;
        optics.innerRadius = request.tubeRadius;
        optics.cameraDistance = request.cameraDistance;
        const QString problem = optics.problem();
        if (!problem.isEmpty()) {
            *error = problem;
            return std::nullopt;
        }
        // The fall spans the picture's height, seen in the plane of the fall.
        const double halfSpan = calibration.metresPerPixel() * size.height() / 2.0;
        const auto where = request.placement == MeasureCommand::VideoRequest::Placement::FrontWall
            ? ScalePlacement::FrontWall
            : ScalePlacement::AirAtCentre;
        refraction = Refraction::factorFunction(where, halfSpan);
        calibration.refractionFactor
            = refraction(optics.refractiveIndex, optics.innerRadius, optics.cameraDistance);
        err << QStringLiteral("Facteur appliqué à l'échelle (réfraction du tube) : %1\n")
                   .arg(calibration.refractionFactor, 0, 'f', 4)
                   .replace(QLatin1Char('.'), QLatin1Char(','));
    }
    if (!calibration.isValid()) {
        *error = calibration.problem();
        return std::nullopt;
    }

    BallTracker tracker(video);
    if (!tracker.start(request.frame, request.ball)) {
        *error = tracker.errorString();
        return std::nullopt;
    }
    tracker.run();
    err << tracker.stopMessage() << '\n';
    err.flush();
    MeasurementSet set
        = toMeasurements(tracker.points(), calibration, QFileInfo(request.path).fileName());
    // How the positions were scaled, for η's uncertainty: the command adds
    // the uncertainties it was given.
    set.scale.distance = calibration.scaleDistance;
    set.scale.clicks = std::hypot(request.scaleEnd.x() - request.scaleStart.x(),
                                  request.scaleEnd.y() - request.scaleStart.y());
    set.scale.refraction = refraction;
    if (set.points.size() < 3) {
        *error = QStringLiteral("Moins de trois positions de la bille ont pu être suivies.");
        return std::nullopt;
    }
    return set;
}
