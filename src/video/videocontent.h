// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "framedecoder.h"
#include "mediainput.h"
#include "orientation.h"

#include <QIODevice>
#include <QList>
#include <QSize>

#include <memory>

// Everything one open video holds; built whole by VideoFile::open and swapped
// in only when the opening succeeded. The members are destroyed in reverse
// order: the decoder, then the demuxer, then the device they read.
struct VideoContent
{
    std::unique_ptr<QIODevice> device;
    MediaInput input;
    int stream = -1;

    // Presentation order; time stamps in the stream's time base.
    QList<IndexedFrame> frames;
    // Seconds from the first frame, as stored in the container.
    QList<double> storedTimes;

    Orientation orientation;
    QSize uprightSize;
    double playbackRate = 0.0;
    double statedCaptureRate = 0.0;
    double captureRate = 0.0;
    // Stored time × timeFactor = real time.
    double timeFactor = 1.0;
    bool speedRamps = false;

    std::unique_ptr<FrameDecoder> decoder;
};
