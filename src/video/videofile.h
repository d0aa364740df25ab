// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "openedvideo.h"
#include "orientation.h"

#include <QString>

#include <memory>

class QIODevice;
struct VideoContent;

// A video file read frame by frame. Opening demuxes the whole file once
// (packets only, nothing decoded) to list every frame's presentation time;
// frame() then decodes on demand, keeping only the last few pictures, so
// memory stays bounded whatever the length. Not thread-safe: one thread at a
// time (VideoOpener opens one in the background and hands it over).
class VideoFile : public OpenedVideo
{
public:
    using Progress = OpeningProgress;

    // Files beyond this size are refused before anything is read.
    static constexpr qint64 kMaxFileSize = qint64(2) << 30;
    // Beyond this count the frame index itself would cost too much memory.
    static constexpr int kMaxFrames = 1000000;
    // Pictures beyond this (8K, 7680 × 4320, passes) are refused, in the
    // header and in the decoder alike.
    static constexpr qint64 kMaxPixels = qint64(8192) * 4608;

    VideoFile();
    ~VideoFile() override;

    // Opens a video. On failure returns false, errorString() says why in
    // French, and whatever video was open before stays open, untouched.
    bool open(const QString &path, const Progress &progress = {});
    // The same over a device already open for reading with random access;
    // the video keeps the device for its whole life.
    bool open(std::unique_ptr<QIODevice> device, const Progress &progress = {});
    QString errorString() const { return m_error; }
    bool isOpen() const;

    int frameCount() const override;
    QSize frameSize() const override;
    double timeOf(int frame) const override;
    QImage frame(int frame) override;

    // Seeks the decoder made since opening (frame() forwards, one frame
    // after the other, makes none); for diagnostics and benchmarks.
    int seekCount() const;

    // The pictures frame() returns: QImage::Format_RGB32 (the default) or
    // QImage::Format_Grayscale8.
    void setPixelFormat(QImage::Format format);
    // The mirror and the quarter turn applied to the stored pictures to show
    // them upright, as the video's display matrix asks.
    Orientation orientation() const;

    double playbackRate() const override;
    double statedCaptureRate() const override;
    double captureRate() const override;
    void setCaptureRate(double imagesPerSecond) override;
    bool hasSpeedRamps() const override;
    QString warning() const override;

private:
    std::unique_ptr<VideoContent> m_content;
    QString m_error;
    QImage::Format m_pixelFormat = QImage::Format_RGB32;
};
