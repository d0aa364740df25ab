// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "orientation.h"

#include <QImage>
#include <QList>

#include <cstdint>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;

// One frame of the index: its presentation time stamp in the stream's time
// base and whether its packet is a keyframe.
struct IndexedFrame
{
    int64_t pts = 0;
    bool key = false;
};

// Decodes given frames of one video stream exactly. A frame after the last
// one decoded, and close to it, is reached by decoding on; any other frame by
// seeking to the keyframe at or before it, flushing the decoder and decoding
// forward, dropping the frames before it. The last few pictures are kept.
class FrameDecoder
{
public:
    FrameDecoder(AVFormatContext *format, int stream, const QList<IndexedFrame> &frames,
                 Orientation orientation);
    ~FrameDecoder();
    FrameDecoder(const FrameDecoder &) = delete;
    FrameDecoder &operator=(const FrameDecoder &) = delete;

    // False with a French message when no decoder handles the stream.
    bool open(QString *error);
    void setPixelFormat(QImage::Format format);
    // The upright picture of frame (an index into frames); null when it
    // cannot be decoded.
    QImage picture(int frame);
    // Seeks made so far: stepping forwards should make none.
    int seekCount() const { return m_seeks; }

private:
    enum class Outcome { Found, Missed, Failed };

    bool seekBefore(int frame, int keyframesBack);
    Outcome decodeUpTo(int frame, QImage *picture);
    bool readPacket();
    QImage convert(const AVFrame *decoded);
    QImage lumaOf(const AVFrame *decoded, bool fullRange) const;
    void remember(int frame, const QImage &picture);

    AVFormatContext *m_format;
    int m_stream;
    const QList<IndexedFrame> m_frames; // implicitly shared with the index
    Orientation m_orientation;
    QImage::Format m_pixelFormat = QImage::Format_RGB32;

    AVCodecContext *m_codec = nullptr;
    AVPacket *m_packet = nullptr;
    AVFrame *m_decoded = nullptr;
    SwsContext *m_scaler = nullptr;
    // What m_scaler's colour conversion was last set for.
    const SwsContext *m_scalerSetFor = nullptr;
    int m_scalerRange = -1;
    int m_scalerSpace = -1;
    // The frame last returned by the decoder, -1 when its state is unknown
    // (after opening, a failure, or the end of the stream).
    int m_last = -1;
    bool m_draining = false;
    int m_seeks = 0;

    struct Kept
    {
        int frame;
        QImage picture;
    };
    QList<Kept> m_kept; // most recent first
};
