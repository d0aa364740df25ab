// SPDX-License-Identifier: GPL-3.0-or-later
#include "vectors.h"

#include "sceneinputs.h"

#include "core/displayoptions.h"
#include "core/motion.h"
#include "core/simulationstate.h"
#include "platform/drawingsurface.h"
#include "platform/palette.h"

#include <cmath>
#include <cstdlib>
#include <limits>

Vectors::Vectors(DrawingSurface &picture2, const SceneInputs &inputs)
    : m_picture2(picture2)
    , m_inputs(inputs)
{ }

std::optional<qint32> Vectors::length(int scale, double quantity, int exponent)
{
    const double pixels = (100.0 - scale) * quantity / std::pow(10.0, exponent);
    if (!std::isfinite(pixels))
        return std::nullopt;
    // Ties to even: the default rounding mode.
    const double rounded = std::nearbyint(pixels);
    constexpr double lowest = std::numeric_limits<qint32>::min();
    constexpr double highest = std::numeric_limits<qint32>::max();
    return qint32(rounded < lowest ? lowest : rounded > highest ? highest : rounded);
}

Vectors::Head Vectors::arrowHead(double bpx, double bpy, double cpx, double cpy)
{
    const QPointF tip(bpx + cpx, bpy + cpy);

    // Base of the head, 10 pixels back from the tip along the shaft. hypot
    // keeps a nearly vertical slope from overflowing when squared.
    QPointF base;
    if (cpx != 0.0) {
        const double slope = cpy / cpx;
        double d = headLength / std::hypot(slope, 1.0);
        if (cpx < 0.0)
            d = -d;
        base = QPointF(tip.x() - d, tip.y() - slope * d);
    } else {
        base = QPointF(tip.x(), cpy >= 0.0 ? tip.y() - headLength : tip.y() + headLength);
    }

    if (cpy != 0.0) {
        // Across the shaft, 5 pixels each way from the base.
        const double slope = cpx / cpy;
        const double e = barbSpread / std::hypot(slope, 1.0);
        return {tip, QPointF(base.x() + e, base.y() - slope * e),
                QPointF(base.x() - e, base.y() + slope * e)};
    }
    const double back = cpx >= 0.0 ? -headLength : headLength;
    return {tip, QPointF(tip.x() + back, tip.y() - barbSpread),
            QPointF(tip.x() + back, tip.y() + barbSpread)};
}

void Vectors::fleche(double bpx, double bpy, double cpx, double cpy, const QColor &kcolo)
{
    const Head head = arrowHead(bpx, bpy, cpx, cpy);
    m_picture2.line(head.tip.x(), head.tip.y(), head.barb1.x(), head.barb1.y(), kcolo);
    m_picture2.line(head.tip.x(), head.tip.y(), head.barb2.x(), head.barb2.y(), kcolo);
}

void Vectors::arrow(int Gx, int Gy, qint32 length, const QColor &colour)
{
    // Gy + length may pass 32 bits: the sum is taken in doubles, and the
    // surface clips the shaft to its own rows.
    m_picture2.line(Gx, Gy, Gx, double(Gy) + double(length), colour);
    fleche(Gx, Gy, 0.0, length, colour);
}

void Vectors::lesvecteurs(int Gx, int Gy)
{
    const SimulationState &state = m_inputs.state;
    const DisplayOptions &options = m_inputs.options;
    const auto colour = [&options](DisplayOptions::Swatch swatch) {
        return colourFromStored(options.colours[swatch]);
    };
    // A length of INT32_MIN has no 32-bit absolute value.
    const auto visible = [](qint32 length) { return std::llabs(length) >= minimumLength; };

    m_picture2.setDrawWidth(lineWidth);

    // Forces at the current velocity, all to the weight's scale. The weight
    // points down and is drawn even when it rounds to nothing; the thrust and
    // the friction point up.
    if (options.showForces) {
        const Motion::Forces forces
            = Motion::forcesAt(m_inputs.fields, state.reynolds, double(state.vit));
        const int scale = options.forceScale;
        if (const std::optional<qint32> p = length(scale, forces.weight, state.expoids))
            arrow(Gx, Gy, *p, colour(DisplayOptions::WeightColour));
        if (const std::optional<qint32> pi = length(scale, -forces.thrust, state.expoids);
            pi && visible(*pi))
            arrow(Gx, Gy, *pi, colour(DisplayOptions::ThrustColour));
        if (const std::optional<qint32> f = length(scale, -forces.friction, state.expoids);
            f && visible(*f))
            arrow(Gx, Gy, *f, colour(DisplayOptions::FrictionColour));
    }

    // At t = 0 the sphere is released without speed: no velocity arrow.
    if (options.showVelocity && state.temps != 0.0) {
        if (const std::optional<qint32> v
            = length(options.velocityScale, double(state.vit), state.expvit);
            v && visible(*v))
            arrow(Gx, Gy, *v, colour(DisplayOptions::VelocityColour));
    }

    m_picture2.setDrawWidth(1);
}
