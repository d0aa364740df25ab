// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

#include <cstdint>
#include <deque>
#include <functional>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;
struct SwsContext;

// How a test video is written.
struct VideoRecipe
{
    // H.264 in MP4 (times free, to the 1/90000 s) or MJPEG in AVI (times
    // rounded to a constant aviRate, as AVI stores no time stamps).
    enum class Codec { H264, Mjpeg };
    Codec codec = Codec::H264;
    QSize size {192, 112}; // upright, as a reader should show it
    // The clockwise turn a reader must apply: the pictures are stored turned
    // the other way, with a display matrix saying so.
    int rotation = 0;
    // Written as the stream's display matrix, row after row, when it holds
    // nine terms (rotation is then ignored): the pictures are stored as
    // given, and the matrix alone says how a reader shows them.
    QList<int32_t> displayMatrix;
    int maxBFrames = 2;
    int keyInterval = 12;
    int aviRate = 25;
    // x264's constant rate factor: 0 is lossless, 12 nearly so, 23 ordinary.
    QByteArray crf = "12";
    // Written as com.android.capture.fps when not empty.
    QByteArray captureFps;
    // The index (moov) at the start of an MP4 instead of its end.
    bool indexFirst = false;
};

// Writes a video with libavcodec's encoders, for tests and benchmarks that
// need real files made at run time. Every failure is reported, never fatal.
class VideoWriter
{
public:
    VideoWriter() = default;
    ~VideoWriter();
    VideoWriter(const VideoWriter &) = delete;
    VideoWriter &operator=(const VideoWriter &) = delete;

    bool open(const QString &path, const VideoRecipe &recipe);
    // Appends an upright picture of recipe.size shown at time (s, increasing).
    bool write(const QImage &upright, double time);
    // Flushes the encoder and writes the index; the file is complete after.
    bool finish();
    QString errorString() const { return m_error; }

private:
    bool fail(const QString &what, int code = 0);
    bool drain(bool flushing);
    bool writeWaiting(bool all);
    void release();

    VideoRecipe m_recipe;
    QString m_error;
    AVFormatContext *m_output = nullptr;
    AVCodecContext *m_encoder = nullptr;
    AVStream *m_stream = nullptr;
    AVFrame *m_frame = nullptr;
    // Encoded packets waiting for their duration, in decoding order.
    std::deque<AVPacket *> m_waiting;
    // The time stamps given so far, in the encoder's time base.
    QList<int64_t> m_times;
    SwsContext *m_scaler = nullptr;
    bool m_headerWritten = false;
};

// Writes the pictures picture(i) at times[i]; false with *error on failure.
bool writeVideo(const QString &path, const VideoRecipe &recipe, const QList<double> &times,
                const std::function<QImage(int)> &picture, QString *error);

// Regular times: count frames at rate images/s from 0.
QList<double> regularTimes(int count, double rate);
