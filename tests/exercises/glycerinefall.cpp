// SPDX-License-Identifier: GPL-3.0-or-later
#include "glycerinefall.h"

#include "core/motion.h"

#include <QString>

#include <cmath>
#include <cstdint>
#include <random>

namespace {

// The film: 25 frames per second from the frame where the ball is just under
// the surface, the origin on the ball's centre in that frame and the y axis
// pointing up, as the student set them in the video tool.
constexpr double depth = 0.330;    // m, from the first frame to the ball lying on the bottom
constexpr double driftX = 4e-4;    // m/s, the ball wanders a little sideways
constexpr int trackedFrames = 271; // up to 10,8 s: the ball has lain on the bottom for 1 s
constexpr int lostFrames = 18;     // then the tracker loses it and writes zeros

// Entry: the ball was let go a centimetre above the surface and enters the
// liquid at entrySpeed, dragging a little air; it settles to the limit
// velocity over entryTime, much longer than the law's own time constant.
constexpr double entrySpeed = 0.40; // m/s
constexpr double entryTime = 0.06;  // s

// Bottom: over the last few millimetres the bottom slows the ball down
// smoothly until it rests there.
constexpr double bottomZone = 4e-3; // m

// The tracker jumps to a bubble or a reflection on single frames.
struct Glitch
{
    int frame;
    double dx, dy; // m
};
constexpr Glitch glitches[] = {{87, 0.0041, 0.0183}, {151, -0.0023, -0.0127}, {196, 0.0, 0.0094}};

constexpr std::uint32_t seed = 20261209;

// Gaussian noise by the Box–Muller transform over the engine's raw 32-bit
// output, which the standard fixes: the file is the same with every library.
class Noise
{
public:
    double next()
    {
        if (m_hasSpare) {
            m_hasSpare = false;
            return m_spare;
        }
        const double u1 = uniform();
        const double u2 = uniform();
        const double radius = std::sqrt(-2.0 * std::log(u1));
        const double angle = 2.0 * Motion::pi * u2;
        m_spare = radius * std::sin(angle);
        m_hasSpare = true;
        return radius * std::cos(angle);
    }

private:
    // In (0, 1): never 0, whose logarithm the transform cannot take.
    double uniform() { return (double(m_engine()) + 0.5) / 4294967296.0; }

    std::mt19937 m_engine {seed};
    double m_spare = 0.0;
    bool m_hasSpare = false;
};

// Faxén's factor for a ball on the axis of a tube, written out here as the
// physics of the experiment, apart from the fit's own, so that a fault in
// either shows in the lesson's figures.
double faxen(double lambda)
{
    return 1.0 - 2.104 * lambda + 2.09 * std::pow(lambda, 3) - 0.95 * std::pow(lambda, 5);
}

// The distance fallen since the first frame: the program's law for the
// wall-slowed ball, the entry's extra distance, and the bottom.
double fallen(double t, const Motion::FrictionModel &model)
{
    double d = Motion::at(model.vlim, model.tau, t).y
        + (entrySpeed - model.vlim) * entryTime * (1.0 - std::exp(-t / entryTime));
    const double slowing = depth - bottomZone;
    if (d > slowing)
        d = depth - bottomZone * std::exp(-(d - slowing) / bottomZone);
    return d;
}

// A number as the tool writes it: fixed decimals and a decimal comma, and
// never "-0" (a value that rounds to zero loses its sign).
QByteArray written(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(value * scale) / scale + 0.0;
    return QString::number(rounded, 'f', decimals)
        .replace(QLatin1Char('.'), QLatin1Char(','))
        .toUtf8();
}

} // namespace

double GlycerineFall::apparentViscosity()
{
    return viscosity / faxen(2.0 * radius / tubeDiameter);
}

QByteArray GlycerineFall::table()
{
    Motion::FrictionModel unknown;
    const Motion::FrictionModel model
        = Motion::frictionModel(radius, mass, fluidDensity, apparentViscosity(), unknown);

    QByteArray bytes;
    bytes += "Chute d'une bille de verre dans la glycérine (20 °C)\tvidéo 25 images/s\n";
    bytes += "\tbille\t\n";
    bytes += "t\tx\ty\n";
    bytes += "s\tm\tm\n";
    Noise noise;
    for (int frame = 0; frame < trackedFrames + lostFrames; ++frame) {
        const double t = frame * frameStep;
        bytes += written(t, 3);
        if (frame >= trackedFrames) {
            bytes += "\t0\t0\n";
            continue;
        }
        double x = driftX * t + GlycerineFall::noise * noise.next();
        double y = -fallen(t, model) + GlycerineFall::noise * noise.next();
        for (const Glitch &g : glitches) {
            if (g.frame == frame) {
                x += g.dx;
                y += g.dy;
            }
        }
        bytes += '\t' + written(x, 5) + '\t' + written(y, 5) + '\n';
    }
    return bytes;
}
