// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "video/framesource.h"

#include <QPointF>
#include <QRect>

#include <functional>
#include <limits>
#include <vector>

struct Calibration;
struct FallSetup;

// A video drawn in memory: a dark ball with a shaded face and a highlight
// moves along centreAt(t) over a lit tube, with on request sensor noise,
// motion blur, a flickering lamp, a liquid whose surface is a dark band and
// in which the tube magnifies the ball sideways, and an opaque label that
// hides it. Frames are drawn anew each time (the same pixels for the same
// frame), or once and kept with keepFrames().
class FakeFallVideo : public FrameSource
{
public:
    static constexpr double nan = std::numeric_limits<double>::quiet_NaN();

    QSize size {160, 480};
    std::vector<double> times; // s, one per frame
    std::function<QPointF(double)> centreAt = [](double) { return QPointF(80.0, 40.0); };
    double radius = 6.0;      // px
    double exposure = 0.0;    // s the shutter stays open, centred on the frame's time
    double noise = 0.0;       // standard deviation of the grey levels
    double flicker = 0.0;     // relative swing of the lamp's brightness, 100 Hz
    double surfaceRow = nan;  // px; the liquid below it
    double liquidWiden = 1.0; // sideways magnification of the ball in the liquid
    QRect cover;              // a label in front of the tube, hiding the ball
    QImage::Format format = QImage::Format_Grayscale8;
    int brokenFrame = -1; // this frame cannot be decoded: a null image
    unsigned seed = 1;

    // count frames at rate images/s from t = 0.
    void setRate(double rate, int count);
    // The drawn centre of the ball at frame i (px).
    QPointF centreOf(int i) const { return centreAt(times.at(size_t(i))); }
    // Draws every frame now and serves those copies afterwards.
    void keepFrames();

    int frameCount() const override { return int(times.size()); }
    QSize frameSize() const override { return size; }
    double timeOf(int frame) const override;
    QImage frame(int frame) override;

private:
    QImage draw(int frame) const;
    std::vector<QImage> m_kept;
};

// The path of a ball that follows the program's law of the fall: at rest at
// startMetres along the calibration's axis until t0, then falling with
// viscosity eta (Pa·s).
std::function<QPointF(double)> modelPath(const FallSetup &setup, double eta, double t0,
                                         const Calibration &calibration, double startMetres);
