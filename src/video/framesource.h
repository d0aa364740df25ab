// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QSize>

// The frames of a video as the tracker and the calibration see them: already
// turned upright (a phone's rotation applied), numbered from 0 in
// presentation order, each with its own time in seconds taken from the
// container's time stamps (0 at the first frame). The time axis is the real
// one: for a slow-motion video it is already scaled by the capture rate.
class FrameSource
{
public:
    virtual ~FrameSource() = default;

    virtual int frameCount() const = 0;
    virtual QSize frameSize() const = 0;
    virtual double timeOf(int frame) const = 0;
    // The picture of frame (0 ≤ frame < frameCount()), in Format_Grayscale8
    // or Format_RGB32; a null image when it cannot be decoded.
    virtual QImage frame(int frame) = 0;
};
