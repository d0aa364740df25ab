// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of reading a video: opening a 100 MB phone-sized MP4 up to its first
// picture (every packet is indexed on the way), and decoding a 720 × 1280
// video at 60 images/s frame after frame. The videos are written once, in a
// temporary folder, before the measures; the page cache then holds them, as
// it does for a video just copied from a phone.
#include "video/videofile.h"

#include "framecode.h"
#include "videowriter.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr QSize kPortrait(720, 1280);
constexpr qint64 kBigFile = 100 * 1000 * 1000;

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

// A tube-like scene: a gradient, a dark ball falling, the frame number, and
// camera noise of the given amplitude (grey levels), which sets the size.
QImage scene(int number, int noise, QRandomGenerator &random)
{
    QImage image = FrameCode::picture(kPortrait, number);
    QPainter painter(&image);
    painter.setBrush(Qt::black);
    painter.drawEllipse(QPointF(360, 100 + 4.0 * number), 20, 20);
    painter.end();
    if (noise > 0) {
        for (int y = 0; y < image.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const int delta = int(random.bounded(2 * noise + 1)) - noise;
                const int grey = qBound(0, qGray(line[x]) + delta, 255);
                line[x] = qRgb(grey, grey, grey);
            }
        }
    }
    return image;
}

// Writes frames at 60 images/s until the file reaches minimumSize or count
// frames; an empty path on failure.
QString writeScene(const QString &name, int count, int noise, const QByteArray &crf,
                   qint64 minimumSize = 0)
{
    const QString path = folder().filePath(name);
    VideoRecipe recipe;
    recipe.size = kPortrait;
    recipe.keyInterval = 60;
    recipe.crf = crf;
    VideoWriter writer;
    QRandomGenerator random(18);
    bool ok = writer.open(path, recipe);
    for (int i = 0; ok && (i < count || QFileInfo(path).size() < minimumSize); ++i)
        ok = writer.write(scene(i % 250, noise, random), i / 60.0);
    if (!(ok && writer.finish())) {
        qWarning("cannot write %s: %s", qPrintable(name), qPrintable(writer.errorString()));
        return {};
    }
    return path;
}

const QString &bigVideo()
{
    static const QString path = writeScene(QStringLiteral("big.mp4"), 60, 24, "4", kBigFile);
    return path;
}

const QString &ordinaryVideo()
{
    static const QString path = writeScene(QStringLiteral("ordinary.mp4"), 300, 3, "20");
    return path;
}

void openToFirstPicture(benchmark::State &state)
{
    const QString &path = bigVideo();
    if (path.isEmpty()) {
        state.SkipWithError("no video to open");
        return;
    }
    for (auto _ : state) {
        VideoFile video;
        if (!video.open(path) || video.frame(0).isNull()) {
            state.SkipWithError(qPrintable(video.errorString()));
            return;
        }
        benchmark::DoNotOptimize(video.frameCount());
    }
    state.counters["Mo"] = double(QFileInfo(path).size()) / 1e6;
}
BENCHMARK(openToFirstPicture)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// Argument 0: RGB32 pictures, 1: Grayscale8 (what a tracker reads).
void decodeFrameAfterFrame(benchmark::State &state)
{
    const QString &path = ordinaryVideo();
    VideoFile video;
    video.setPixelFormat(state.range(0) ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    if (path.isEmpty() || !video.open(path)) {
        state.SkipWithError("no video to decode");
        return;
    }
    int decoded = 0;
    QElapsedTimer clock;
    clock.start();
    for (auto _ : state) {
        for (int i = 0; i < video.frameCount(); ++i) {
            // Far behind the last frame: the first one seeks back to the start.
            if (video.frame(i).isNull()) {
                state.SkipWithError("a frame did not decode");
                return;
            }
            ++decoded;
        }
    }
    // Counter::kIsRate would divide by this thread's processor time, which
    // leaves out the decoder's own threads.
    state.counters["images/s"] = decoded / (clock.nsecsElapsed() * 1e-9);
}
BENCHMARK(decodeFrameAfterFrame)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
