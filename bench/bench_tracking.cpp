// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the ball tracker on a phone's portrait video, 720×1280 at 60
// images/s, decoded once beforehand: the frames are pictures in memory, so
// that only the search for the ball is measured.
#include "fakefallvideo.h"

#include "video/tracking/balltracker.h"

#include <benchmark/benchmark.h>

namespace {

FakeFallVideo &portraitVideo(QImage::Format format)
{
    static FakeFallVideo grey, colour;
    FakeFallVideo &video = format == QImage::Format_Grayscale8 ? grey : colour;
    if (video.frameCount() == 0) {
        video.size = QSize(720, 1280);
        // One second of fall; fewer colour frames keep the memory reasonable.
        video.setRate(60.0, format == QImage::Format_Grayscale8 ? 60 : 24);
        video.radius = 12.0;
        video.centreAt
            = [](double t) { return QPointF(360.4 + 3.0 * t, 100.3 + 300.0 * t + 600.0 * t * t); };
        video.noise = 4.0;
        video.exposure = 1.0 / 240;
        video.format = format;
        video.keepFrames();
    }
    return video;
}

void trackPortraitVideo(benchmark::State &state, QImage::Format format)
{
    FakeFallVideo &video = portraitVideo(format);
    int64_t frames = 0;
    for (auto _ : state) {
        TrackerSettings settings;
        settings.radius = video.radius;
        BallTracker tracker(video, settings);
        if (!tracker.start(0, video.centreOf(0)) || tracker.run() != BallTracker::Stop::End) {
            state.SkipWithError("the ball was not tracked to the last frame");
            break;
        }
        frames += video.frameCount() - 1;
    }
    state.counters["images/s"] = benchmark::Counter(double(frames), benchmark::Counter::kIsRate);
}

void trackGrey(benchmark::State &state)
{
    trackPortraitVideo(state, QImage::Format_Grayscale8);
}
void trackColour(benchmark::State &state)
{
    trackPortraitVideo(state, QImage::Format_RGB32);
}
BENCHMARK(trackGrey)->Unit(benchmark::kMillisecond);
BENCHMARK(trackColour)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
