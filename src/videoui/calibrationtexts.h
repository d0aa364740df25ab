// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "video/tracking/refraction.h"

#include <QString>

// What the video window says about its calibration fields, from their texts:
// each message tells the state of the field it is about (empty, not a
// number, out of range), so that an empty field is never reported as a
// wrong value.
namespace CalibrationTexts {

// The tube's optics as typed: refractive index, inner diameter in mm,
// distance from the camera to the tube's axis in cm. problem is empty when
// optics can be used, otherwise the French reason about the first field in
// that order that cannot.
struct TypedOptics
{
    TubeOptics optics; // SI units, the radius half the typed diameter
    QString problem;
};
TypedOptics readOptics(const QString &index, const QString &diameterMm, const QString &cameraCm);

// The status line of the scale after clicks (0, 1 or 2) of its ends, with
// the distance between them typed as distanceCm: "Échelle placée." only
// once both ends and a usable distance are there.
QString scaleStatus(int clicks, const QString &distanceCm);

// The refraction factor applied to the scale, always with three decimals
// ("f = 1,000" when the scale lies in the plane of the fall). The spaces
// around "=" and before ":" do not break, so that a wrapped line never
// leaves the value alone.
QString factorText(bool immersed, double factor);

// The ball as the tracker saw it, offered to check the typed radius: its
// apparent radius radiusPx (px, the tracker's estimate over eight
// directions), in mm with metresPerPixel (NaN while the scale is not
// placed). The tube magnifies widths by about the liquid's index n (NaN
// when not known) but not heights, so the true radius lies between the
// apparent one divided by n and the apparent one. Empty when radiusPx is
// not positive.
QString ballSizeText(double radiusPx, double metresPerPixel, double index);

} // namespace CalibrationTexts
