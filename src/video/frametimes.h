// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>

// Pure arithmetic on the times of a video's frames (seconds, ascending, 0 at
// the first frame), kept apart from the decoding so that it can be checked on
// made-up series.
namespace FrameTimes {

// The median gap between successive frames in seconds; 0 for fewer than two
// frames.
double medianInterval(const QList<double> &times);

// True when the frame gaps change by a large factor over whole stretches of
// the video: what a phone gallery leaves when it flattens a slow-motion
// recording with speed ramps into an ordinary video. Single dropped frames and
// the jitter of a phone's variable rate do not count.
bool hasSpeedRamps(const QList<double> &times);

// The factor that turns the container's times into real times: playback rate
// over capture rate (images/s). 1 when no capture rate is known (≤ 0) or when
// both rates agree within 5 %: the video then already runs in real time and
// the small difference is rounding in the stated rate.
double realTimeFactor(double playbackRate, double captureRate);

} // namespace FrameTimes
