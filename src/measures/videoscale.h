// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <limits>

// How the positions of a video were scaled, with the standard uncertainties
// the user gave for each input of the scale, so that η's uncertainty takes
// them through the real measurand. All in SI units; an uncertainty of 0
// leaves its input exact. A set of points from elsewhere has distance 0.
struct VideoScale
{
    static constexpr double nan = std::numeric_limits<double>::quiet_NaN();

    // The factor the scale's distances were multiplied by for the tube's
    // refraction, for a liquid of index n in a tube of inner radius R (m)
    // filmed from L (m) from the tube's axis; NaN where it is not defined.
    // Filled by the video layer with its ray tracing (the measures hold no
    // optics); empty when the scale lies in the plane of the fall. It must be
    // safe to call from one thread many times.
    using RefractionFactor
        = std::function<double(double index, double radius, double cameraDistance)>;

    double distance = 0.0; // m between the scale's two clicks, as typed
    double uDistance = 0.0;
    bool distanceUniform = false; // uDistance is a/√3 of a rectangular law
    double clicks = 0.0;          // px between the two clicks
    double uClick = 0.5;          // px, each click along the scale
    double captureRate = 0.0;     // images/s when typed (a slow motion), else 0
    double uCaptureRate = 0.0;
    bool captureRateUniform = false;

    RefractionFactor refraction;
    double index = nan;
    double uIndex = 0.0;
    bool indexUniform = false;
    double tubeRadius = nan; // m, inner
    double uTubeRadius = 0.0;
    bool tubeRadiusUniform = false;
    double cameraDistance = nan; // m, from the lens to the tube's axis
    double uCameraDistance = 0.0;
    bool cameraDistanceUniform = false;
    // The refraction's tube is the one of the wall correction: one input,
    // its diameter's uncertainty, instead of a radius of its own.
    bool tubeIsWallTube = false;

    bool isVideo() const { return distance > 0.0 && clicks > 0.0; }
    bool refracted() const { return isVideo() && bool(refraction); }
};
