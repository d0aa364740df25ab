// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakefallvideo.h"

#include "measures/fallfit.h"
#include "video/tracking/calibration.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace {

constexpr double ballGrey = 35.0;
constexpr double ballRimGrey = 95.0; // the face darkens towards the centre
constexpr double highlightGrey = 170.0;
constexpr double coverGrey = 120.0;

// The lit tube: brighter in the middle, two darker walls, a little darker
// downwards; the liquid darker still, with its meniscus as a dark band.
double backgroundAt(int x, int y, QSize size, double surfaceRow)
{
    const double u = (x + 0.5) / size.width() - 0.5;
    double v = 215.0 - 60.0 * u * u - 20.0 * (y + 0.5) / size.height();
    const double wall = std::abs(std::abs(u) - 0.4);
    if (wall < 0.02)
        v -= 50.0;
    if (std::isfinite(surfaceRow)) {
        const double below = y + 0.5 - surfaceRow;
        if (below > 0.0)
            v *= 0.8;
        if (std::abs(below) < 2.0)
            v -= 70.0;
    }
    return v;
}

// Coverage and grey of the ball at pixel centre p for a ball centred at c.
double ballCoverage(QPointF p, QPointF c, double radius, double widen, double *grey, bool lit)
{
    const double dx = (p.x() - c.x()) / widen, dy = p.y() - c.y();
    const double d = std::hypot(dx, dy);
    const double coverage = std::clamp(radius + 0.5 - d, 0.0, 1.0);
    const double rho = std::min(d / radius, 1.0);
    *grey = ballGrey + (ballRimGrey - ballGrey) * rho * rho;
    if (lit) {
        const double hx = dx + 0.35 * radius, hy = dy + 0.35 * radius;
        const double h = std::hypot(hx, hy) / (0.3 * radius);
        if (h < 1.0)
            *grey += (highlightGrey - *grey) * (1.0 - h * h);
    }
    return coverage;
}

} // namespace

void FakeFallVideo::setRate(double rate, int count)
{
    times.resize(size_t(std::max(count, 0)));
    for (size_t i = 0; i < times.size(); ++i)
        times[i] = double(i) / rate;
}

double FakeFallVideo::timeOf(int frame) const
{
    return frame >= 0 && frame < frameCount() ? times[size_t(frame)] : nan;
}

void FakeFallVideo::keepFrames()
{
    m_kept.clear();
    for (int i = 0; i < frameCount(); ++i)
        m_kept.push_back(draw(i));
}

QImage FakeFallVideo::frame(int frame)
{
    if (frame < 0 || frame >= frameCount() || frame == brokenFrame)
        return QImage();
    if (size_t(frame) < m_kept.size())
        return m_kept[size_t(frame)];
    return draw(frame);
}

QImage FakeFallVideo::draw(int frame) const
{
    const double t = times[size_t(frame)];
    // Ball positions over the open shutter, a few per pixel of travel.
    std::vector<QPointF> positions;
    const QPointF a = centreAt(t - exposure / 2), b = centreAt(t + exposure / 2);
    const int samples = exposure > 0.0
        ? std::max(1, int(std::ceil(4.0 * std::hypot(b.x() - a.x(), b.y() - a.y()))))
        : 1;
    for (int k = 0; k < samples; ++k)
        positions.push_back(samples == 1
                                ? centreAt(t)
                                : centreAt(t - exposure / 2 + exposure * (k + 0.5) / samples));
    QRectF reach;
    for (const QPointF &p : positions)
        reach |= QRectF(p.x() - radius * liquidWiden - 2, p.y() - radius - 2,
                        2 * radius * liquidWiden + 4, 2 * radius + 4);

    std::mt19937 engine(seed * 7919u + unsigned(frame));
    std::normal_distribution<double> grain(0.0, noise > 0.0 ? noise : 1.0);
    const double gain = 1.0 + flicker * std::sin(2.0 * std::numbers::pi * 100.0 * t);

    QImage image(size, QImage::Format_Grayscale8);
    for (int y = 0; y < size.height(); ++y) {
        uchar *line = image.scanLine(y);
        for (int x = 0; x < size.width(); ++x) {
            double v = backgroundAt(x, y, size, surfaceRow);
            const QPointF p(x + 0.5, y + 0.5);
            if (reach.contains(p)) {
                double mixed = 0.0;
                for (const QPointF &c : positions) {
                    const bool inLiquid = std::isfinite(surfaceRow) && c.y() > surfaceRow;
                    double grey = 0.0;
                    const double cover = ballCoverage(p, c, radius, inLiquid ? liquidWiden : 1.0,
                                                      &grey, !inLiquid);
                    mixed += cover * grey + (1.0 - cover) * v;
                }
                v = mixed / double(positions.size());
            }
            if (cover.contains(x, y))
                v = coverGrey;
            v *= gain;
            if (noise > 0.0)
                v += grain(engine);
            line[x] = uchar(std::clamp(std::lround(v), 0L, 255L));
        }
    }
    return format == QImage::Format_Grayscale8 ? image : image.convertToFormat(format);
}

std::function<QPointF(double)> modelPath(const FallSetup &setup, double eta, double t0,
                                         const Calibration &calibration, double startMetres)
{
    return [=](double t) {
        return calibration.pointAt(FallFit::modelAt(setup, eta, startMetres, t0, t));
    };
}
