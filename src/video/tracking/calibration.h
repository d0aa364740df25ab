// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointF>
#include <QString>

// How picture points become positions along the fall. Picture coordinates
// are pixels of the upright frame: x to the right, y downwards, (0, 0) the
// top-left corner of the top-left pixel, so that pixel (i, j) has its centre
// at (i + 0,5, j + 0,5).
//
// The scale: two clicked points and the distance between them as typed. The
// origin: a clicked point whose position is 0. The fall axis points down the
// tube. Its direction is the scale segment's when that segment lies within
// nearVerticalDegrees of the picture's vertical (marks on the tube give the
// tube's own direction, a phone held slightly askew included), oriented
// downwards; otherwise, for a scale laid across the picture, it is the
// picture's vertical.
//
// The calibration is a plain value: the tracker keeps the pixel centres, and
// every position is recomputed from them whenever the calibration changes.
struct Calibration
{
    static constexpr double nearVerticalDegrees = 20.0;

    QPointF scaleStart;         // px
    QPointF scaleEnd;           // px
    double scaleDistance = 0.0; // m between scaleStart and scaleEnd, as typed
    QPointF origin;             // px, position 0
    // Multiplies every distance read with the scale: 1 when the scale lies in
    // the plane of the fall, otherwise the refraction correction of the tube.
    double refractionFactor = 1.0;

    // Why positions cannot be computed, in French; empty when they can.
    QString problem() const;
    bool isValid() const { return problem().isEmpty(); }

    // Metres per pixel along the scale, the refraction factor included; NaN
    // when the calibration is not valid.
    double metresPerPixel() const;
    // Unit vector of the fall axis in picture coordinates (y > 0: downwards).
    QPointF axis() const;
    // Position along the fall of picture point p, in m (positive downwards
    // from the origin); NaN when the calibration is not valid.
    double positionOf(QPointF p) const;
    // The picture point at position metres along the axis from the origin.
    QPointF pointAt(double metres) const;
};
