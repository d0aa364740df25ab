// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPointF>
#include <QtGlobal>

#include <optional>

class DrawingSurface;
struct SceneInputs;

// The arrows drawn from the sphere's centre on the scene picture Picture2:
// the weight P, Archimedes' thrust Π and the friction f, and the velocity v.
// Pixels, y downwards: a positive length points down, the way the sphere falls.
//
// Scales: a bar of 100 - s pixels (s the value of the scale spinner) stands
// for 10^e units, e being expoids for the forces (N) and expvit for the
// velocity (m/s); a quantity q is an arrow of round((100 - s) * q / 10^e)
// pixels, a half going to the even neighbour. Since the exponents are those
// of the weight and of the final velocity, those two arrows are one to ten
// bars long.
//
// All on the user-interface thread.
class Vectors
{
public:
    static constexpr int lineWidth = 2;
    // A thrust, friction or velocity arrow shorter than this is not drawn.
    static constexpr qint32 minimumLength = 2;
    // The barbs end this far back from the tip along the shaft...
    static constexpr double headLength = 10.0;
    // ...and this far from the shaft on each side.
    static constexpr double barbSpread = 5.0;

    Vectors(DrawingSurface &picture2, const SceneInputs &inputs);

    // lesvecteurs(Gx, Gy): draws P, Π, f (forces shown) then v (velocity shown,
    // temps not 0) from (Gx, Gy), 2 pixels wide, in their swatch colours,
    // from the state, fields, scales and colours of the inputs; called by majaff.
    void lesvecteurs(int Gx, int Gy);

    // fleche(bpx, bpy, cpx, cpy, kcolo): draws the two barbs of the head of the
    // arrow from (bpx, bpy) with components (cpx, cpy), in kcolo with the
    // current line width; called by lesvecteurs after each shaft.
    void fleche(double bpx, double bpy, double cpx, double cpy, const QColor &kcolo);

    struct Head
    {
        QPointF tip;
        QPointF barb1;
        QPointF barb2;
    };
    // Where fleche draws: the tip (bpx + cpx, bpy + cpy) and the ends of the
    // two barbs drawn from it, 10 pixels back along the shaft and 5 pixels
    // to each side of it. A horizontal arrow (cpy = 0) gets its barbs 10
    // pixels to the left of the tip when cpx >= 0, to the right otherwise.
    static Head arrowHead(double bpx, double bpy, double cpx, double cpy);

    // Length in pixels of an arrow for quantity at the scale of a spinner
    // value scale and a decimal exponent: round((100 - scale) * quantity /
    // 10^exponent), a half going to the even neighbour, saturated to 32 bits
    // (such an arrow leaves the scene anyway). Nothing when the quotient is
    // not finite.
    static std::optional<qint32> length(int scale, double quantity, int exponent);

private:
    // Shaft from (Gx, Gy) to (Gx, Gy + length), then its head.
    void arrow(int Gx, int Gy, qint32 length, const QColor &colour);

    DrawingSurface &m_picture2;
    const SceneInputs &m_inputs;
};
