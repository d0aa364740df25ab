// SPDX-License-Identifier: GPL-3.0-or-later
#include "videowriter.h"

#include <QTransform>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/display.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>

namespace {

constexpr int kH264TimeScale = 90000;

QString ffmpegError(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

} // namespace

VideoWriter::~VideoWriter()
{
    release();
}

void VideoWriter::release()
{
    for (AVPacket *packet : m_waiting)
        av_packet_free(&packet);
    m_waiting.clear();
    m_times.clear();
    sws_freeContext(m_scaler);
    m_scaler = nullptr;
    av_frame_free(&m_frame);
    avcodec_free_context(&m_encoder);
    if (m_output) {
        if (m_output->pb)
            avio_closep(&m_output->pb);
        avformat_free_context(m_output);
        m_output = nullptr;
    }
    m_stream = nullptr;
    m_headerWritten = false;
}

bool VideoWriter::fail(const QString &what, int code)
{
    m_error = code ? what + QStringLiteral(": ") + ffmpegError(code) : what;
    release();
    return false;
}

bool VideoWriter::open(const QString &path, const VideoRecipe &recipe)
{
    release();
    // The encoders' statistics would bury the tests' own output.
    av_log_set_level(std::min(av_log_get_level(), AV_LOG_ERROR));
    m_recipe = recipe;
    const bool rawMatrix = recipe.displayMatrix.size() == 9;
    if (rawMatrix)
        m_recipe.rotation = 0;
    const bool h264 = recipe.codec == VideoRecipe::Codec::H264;
    const QByteArray file = path.toLocal8Bit();
    int result = avformat_alloc_output_context2(&m_output, nullptr, h264 ? "mp4" : "avi",
                                                file.constData());
    if (result < 0)
        return fail(QStringLiteral("output"), result);
    const AVCodec *codec
        = h264 ? avcodec_find_encoder_by_name("libx264") : avcodec_find_encoder(AV_CODEC_ID_MJPEG);
    if (!codec)
        return fail(h264 ? QStringLiteral("no H.264 encoder") : QStringLiteral("no MJPEG encoder"));
    m_stream = avformat_new_stream(m_output, nullptr);
    m_encoder = avcodec_alloc_context3(codec);
    m_frame = av_frame_alloc();
    if (!m_stream || !m_encoder || !m_frame)
        return fail(QStringLiteral("out of memory"));

    const bool quarterTurn = m_recipe.rotation % 180 != 0;
    m_encoder->width = quarterTurn ? recipe.size.height() : recipe.size.width();
    m_encoder->height = quarterTurn ? recipe.size.width() : recipe.size.height();
    m_encoder->gop_size = recipe.keyInterval;
    if (h264) {
        m_encoder->pix_fmt = AV_PIX_FMT_YUV420P;
        m_encoder->time_base = {1, kH264TimeScale};
        m_encoder->max_b_frames = recipe.maxBFrames;
        av_opt_set(m_encoder->priv_data, "preset", "ultrafast", 0);
        av_opt_set(m_encoder->priv_data, "crf", recipe.crf.constData(), 0);
    } else {
        m_encoder->pix_fmt = AV_PIX_FMT_YUVJ420P;
        m_encoder->color_range = AVCOL_RANGE_JPEG;
        m_encoder->time_base = {1, recipe.aviRate};
        m_encoder->flags |= AV_CODEC_FLAG_QSCALE;
        m_encoder->global_quality = FF_QP2LAMBDA * 3;
    }
    if (m_output->oformat->flags & AVFMT_GLOBALHEADER)
        m_encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if ((result = avcodec_open2(m_encoder, codec, nullptr)) < 0)
        return fail(QStringLiteral("encoder"), result);
    if ((result = avcodec_parameters_from_context(m_stream->codecpar, m_encoder)) < 0)
        return fail(QStringLiteral("parameters"), result);
    m_stream->time_base = m_encoder->time_base;

    if (m_recipe.rotation != 0 || rawMatrix) {
        auto *matrix = reinterpret_cast<int32_t *>(
            av_stream_new_side_data(m_stream, AV_PKT_DATA_DISPLAYMATRIX, 9 * sizeof(int32_t)));
        if (!matrix)
            return fail(QStringLiteral("display matrix"));
        // Despite its documentation, av_display_rotation_set(m, 90) gives the
        // matrix a phone stores for a picture to turn a quarter clockwise.
        if (rawMatrix)
            std::copy(recipe.displayMatrix.cbegin(), recipe.displayMatrix.cend(), matrix);
        else
            av_display_rotation_set(matrix, recipe.rotation);
    }
    AVDictionary *options = nullptr;
    if (!recipe.captureFps.isEmpty()) {
        av_dict_set(&m_output->metadata, "com.android.capture.fps", recipe.captureFps.constData(),
                    0);
        av_dict_set(&options, "movflags", "use_metadata_tags", 0);
    }
    if (recipe.indexFirst)
        av_dict_set(&options, "movflags", "+faststart", AV_DICT_APPEND);

    m_frame->format = m_encoder->pix_fmt;
    m_frame->width = m_encoder->width;
    m_frame->height = m_encoder->height;
    if ((result = av_frame_get_buffer(m_frame, 0)) < 0)
        return fail(QStringLiteral("frame"), result);
    if ((result = avio_open(&m_output->pb, file.constData(), AVIO_FLAG_WRITE)) < 0)
        return fail(QStringLiteral("open ") + path, result);
    result = avformat_write_header(m_output, &options);
    av_dict_free(&options);
    if (result < 0)
        return fail(QStringLiteral("header"), result);
    m_headerWritten = true;
    return true;
}

bool VideoWriter::write(const QImage &upright, double time)
{
    if (!m_headerWritten)
        return fail(QStringLiteral("not open"));
    if (upright.size() != m_recipe.size)
        return fail(QStringLiteral("picture of the wrong size"));
    // Stored turned back, so that the reader's turn makes it upright again.
    const QImage stored = upright.convertToFormat(QImage::Format_RGB32)
                              .transformed(QTransform().rotate(-m_recipe.rotation));
    m_scaler = sws_getCachedContext(m_scaler, stored.width(), stored.height(), AV_PIX_FMT_RGB32,
                                    m_frame->width, m_frame->height, AVPixelFormat(m_frame->format),
                                    SWS_BICUBIC, nullptr, nullptr, nullptr);
    int result = av_frame_make_writable(m_frame);
    if (!m_scaler || result < 0)
        return fail(QStringLiteral("conversion"), result);
    const uint8_t *planes[4] = {stored.constBits(), nullptr, nullptr, nullptr};
    const int strides[4] = {int(stored.bytesPerLine()), 0, 0, 0};
    sws_scale(m_scaler, planes, strides, 0, stored.height(), m_frame->data, m_frame->linesize);
    m_frame->pts = std::llround(time * m_encoder->time_base.den / m_encoder->time_base.num);
    m_times.append(m_frame->pts);
    if ((result = avcodec_send_frame(m_encoder, m_frame)) < 0)
        return fail(QStringLiteral("encoding"), result);
    return drain(false);
}

bool VideoWriter::drain(bool flushing)
{
    for (;;) {
        AVPacket *packet = av_packet_alloc();
        if (!packet)
            return fail(QStringLiteral("out of memory"));
        const int result = avcodec_receive_packet(m_encoder, packet);
        if (result < 0) {
            av_packet_free(&packet);
            if ((result == AVERROR(EAGAIN) && !flushing) || result == AVERROR_EOF)
                return writeWaiting(flushing);
            return fail(QStringLiteral("encoding"), result);
        }
        m_waiting.push_back(packet);
    }
}

bool VideoWriter::writeWaiting(bool all)
{
    // A packet's duration is the gap to the next frame shown, known once
    // that frame was given; MP4's edit list would hide a last frame without.
    while (!m_waiting.empty()) {
        AVPacket *packet = m_waiting.front();
        const auto next = std::upper_bound(m_times.cbegin(), m_times.cend(), packet->pts);
        if (next == m_times.cend() && !all)
            return true;
        if (next != m_times.cend())
            packet->duration = *next - packet->pts;
        else
            packet->duration
                = m_times.size() > 1 ? m_times.last() - m_times[m_times.size() - 2] : 1;
        m_waiting.pop_front();
        av_packet_rescale_ts(packet, m_encoder->time_base, m_stream->time_base);
        packet->stream_index = m_stream->index;
        const int result = av_interleaved_write_frame(m_output, packet);
        av_packet_free(&packet);
        if (result < 0)
            return fail(QStringLiteral("writing"), result);
    }
    return true;
}

bool VideoWriter::finish()
{
    if (!m_headerWritten)
        return fail(QStringLiteral("not open"));
    int result = avcodec_send_frame(m_encoder, nullptr);
    if (result < 0)
        return fail(QStringLiteral("flushing"), result);
    if (!drain(true))
        return false;
    if ((result = av_write_trailer(m_output)) < 0)
        return fail(QStringLiteral("trailer"), result);
    release();
    return true;
}

bool writeVideo(const QString &path, const VideoRecipe &recipe, const QList<double> &times,
                const std::function<QImage(int)> &picture, QString *error)
{
    VideoWriter writer;
    bool ok = writer.open(path, recipe);
    for (qsizetype i = 0; ok && i < times.size(); ++i)
        ok = writer.write(picture(int(i)), times[i]);
    ok = ok && writer.finish();
    if (!ok && error)
        *error = writer.errorString();
    return ok;
}

QList<double> regularTimes(int count, double rate)
{
    QList<double> times;
    for (int i = 0; i < count; ++i)
        times.append(i / rate);
    return times;
}
