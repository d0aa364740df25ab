// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "framesource.h"

#include <QString>

#include <atomic>
#include <functional>

// How a long opening reports its progress (0…100, from the reading thread)
// and learns that it should stop.
struct OpeningProgress
{
    std::function<void(int percent)> report;
    const std::atomic_bool *cancel = nullptr;
};

// A video file as the video window sees it, whatever decodes it: its frames
// and what the file says of its times. The window holds it through this
// interface only, so that the decoder can live in a module loaded on demand.
class OpenedVideo : public FrameSource
{
public:
    // Images per second of the time stamps as stored (their median gap).
    virtual double playbackRate() const = 0;
    // The capture rate the file states (a phone's slow motion), 0 if none.
    virtual double statedCaptureRate() const = 0;
    // The capture rate frame times are scaled by: the stated one after
    // opening; 0 for none (times are the stored ones).
    virtual double captureRate() const = 0;
    virtual void setCaptureRate(double imagesPerSecond) = 0;
    // True when the time stamps show a slow-motion video flattened with speed
    // ramps, whose times cannot be trusted; warning() then says it in French.
    virtual bool hasSpeedRamps() const = 0;
    virtual QString warning() const = 0;
};
