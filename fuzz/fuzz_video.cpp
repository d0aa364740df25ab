// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the video reader.
//
// Arbitrary bytes are opened as a video from memory (a QBuffer, which the
// reader hands to FFmpeg through its own AVIOContext, so no file name and no
// protocol is involved). A refusal must come with a reason and leave nothing
// open. An accepted video must list between one and VideoFile::kMaxFrames
// frames at finite times in increasing order, turn its pictures by quarter
// turns (after a mirror, perhaps), state finite rates and give its pictures
// at the size it announces. A few pictures are decoded, the last and the first again (a seek
// back), so that the work per input stays bounded.

#include "video/videofile.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "fuzz_video: %s\n", what);
    std::abort();
}

void checkPicture(VideoFile &video, int frame)
{
    const QImage picture = video.frame(frame);
    // A damaged picture further on gives nothing; a picture has the size
    // the video announces, upright.
    if (!picture.isNull() && picture.size() != video.frameSize())
        fail("a picture of another size than the video's");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(reinterpret_cast<const char *>(data), qsizetype(size));
    if (!buffer->open(QIODevice::ReadOnly))
        fail("the buffer does not open");
    VideoFile video;
    if (!video.open(std::move(buffer))) {
        if (video.errorString().isEmpty())
            fail("refused without a reason");
        if (video.isOpen() || video.frameCount() != 0)
            fail("refused but open");
        return 0;
    }
    const int count = video.frameCount();
    if (count < 1 || count > VideoFile::kMaxFrames)
        fail("frame count out of range");
    const QSize frameSize = video.frameSize();
    if (frameSize.isEmpty()
        || qint64(frameSize.width()) * frameSize.height() > VideoFile::kMaxPixels)
        fail("picture size out of range");
    const int rotation = video.orientation().rotation;
    if (rotation != 0 && rotation != 90 && rotation != 180 && rotation != 270)
        fail("a rotation other than a quarter turn");
    if (!std::isfinite(video.playbackRate()) || video.playbackRate() < 0.0)
        fail("playback rate not finite");
    if (!std::isfinite(video.statedCaptureRate()) || video.statedCaptureRate() < 0.0)
        fail("stated capture rate not finite");
    if (video.hasSpeedRamps() && video.warning().isEmpty())
        fail("speed ramps without a warning");
    for (double rate : {0.0, 240.0}) {
        video.setCaptureRate(rate);
        for (int i = 0; i < count; ++i) {
            if (!std::isfinite(video.timeOf(i)))
                fail("a frame time not finite");
            if (i > 0 && video.timeOf(i) < video.timeOf(i - 1))
                fail("frame times out of order");
        }
    }
    checkPicture(video, 0);
    checkPicture(video, count / 2);
    checkPicture(video, count - 1);
    checkPicture(video, 0);
    if (!video.frame(-1).isNull() || !video.frame(count).isNull())
        fail("a picture of a frame that does not exist");
    return 0;
}
