// SPDX-License-Identifier: GPL-3.0-or-later
// From pictures to numbers: the ball's radius around a click, and the track
// as measured points.
#include "balltracker.h"
#include "calibration.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// How far from the click the background is read, px: the largest ball the
// tracker expects is well inside it.
constexpr int backgroundDistance = 80;
// Less than this difference of grey between the ball and its background is
// no ball.
constexpr double minContrast = 12.0;

double greyAt(const QImage &image, int x, int y)
{
    const QRgb pixel = image.pixel(x, y);
    return image.format() == QImage::Format_Grayscale8 ? double(qRed(pixel)) : double(qGray(pixel));
}

double meanAround(const QImage &image, QPoint p)
{
    double sum = 0.0;
    int n = 0;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (image.valid(p.x() + dx, p.y() + dy)) {
                sum += greyAt(image, p.x() + dx, p.y() + dy);
                ++n;
            }
        }
    }
    return n > 0 ? sum / n : 0.0;
}

} // namespace

double estimateBallRadius(const QImage &image, QPointF centre)
{
    const QPoint c(int(std::floor(centre.x())), int(std::floor(centre.y())));
    if (!image.valid(c))
        return 0.0;
    const double ball = meanAround(image, c);
    std::vector<double> radii;
    constexpr std::array<std::pair<int, int>, 8> directions {
        {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}}};
    for (const auto &[dx, dy] : directions) {
        const double unit = std::hypot(dx, dy);
        int far = int(backgroundDistance / unit);
        while (far > 1 && !image.valid(c.x() + dx * far, c.y() + dy * far))
            --far;
        if (far <= 1)
            continue;
        const double background = greyAt(image, c.x() + dx * far, c.y() + dy * far);
        if (std::abs(background - ball) < minContrast)
            continue;
        const double halfway = 0.5 * (ball + background);
        const bool darkBall = ball < background;
        double previous = ball;
        for (int k = 1; k <= far; ++k) {
            const double v = greyAt(image, c.x() + dx * k, c.y() + dy * k);
            if (darkBall ? v >= halfway : v <= halfway) {
                // Linear between the two samples around the crossing.
                const double f = v != previous ? (halfway - previous) / (v - previous) : 0.0;
                radii.push_back((k - 1 + f) * unit);
                break;
            }
            previous = v;
        }
    }
    if (radii.size() < 4)
        return 0.0;
    std::nth_element(radii.begin(), radii.begin() + radii.size() / 2, radii.end());
    const double r = radii[radii.size() / 2];
    return r >= 1.0 ? r : 0.0;
}

MeasurementSet toMeasurements(const std::map<int, TrackPoint> &points,
                              const Calibration &calibration, const QString &sourceName)
{
    MeasurementSet set;
    set.sourceName = sourceName;
    if (!calibration.isValid())
        return set;
    for (const auto &[frame, point] : points) {
        MeasuredPoint m;
        m.t = point.time;
        m.y = calibration.positionOf(point.centre);
        m.source = frame;
        set.points.push_back(m);
    }
    return set;
}
