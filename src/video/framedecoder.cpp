// SPDX-License-Identifier: GPL-3.0-or-later
#include "framedecoder.h"

#include "videofile.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/mem.h>
#include <libswscale/swscale.h>
}

namespace {

// Pictures kept for stepping back and forth.
constexpr int kKept = 4;
// Decoding on is cheaper than a seek while the wanted frame is this close
// after the last one decoded.
constexpr int kDecodeOnReach = 24;
// Keyframes to step further back when a seek lands after the wanted frame.
constexpr int kSeekRetries = 3;

int64_t timestampOf(const AVFrame *frame)
{
    return frame->best_effort_timestamp != AV_NOPTS_VALUE ? frame->best_effort_timestamp
                                                          : frame->pts;
}

// The deprecated full-range ("J") formats of JPEG decoders, as the plain
// format and a full-range flag, which is how the scaler wants them.
AVPixelFormat plainFormat(AVPixelFormat format, bool *fullRange)
{
    switch (format) {
    case AV_PIX_FMT_YUVJ420P:
        *fullRange = true;
        return AV_PIX_FMT_YUV420P;
    case AV_PIX_FMT_YUVJ422P:
        *fullRange = true;
        return AV_PIX_FMT_YUV422P;
    case AV_PIX_FMT_YUVJ444P:
        *fullRange = true;
        return AV_PIX_FMT_YUV444P;
    case AV_PIX_FMT_YUVJ440P:
        *fullRange = true;
        return AV_PIX_FMT_YUV440P;
    case AV_PIX_FMT_YUVJ411P:
        *fullRange = true;
        return AV_PIX_FMT_YUV411P;
    default:
        return format;
    }
}

// Planar 8-bit YUV: the first plane holds the luma of every pixel.
bool hasLumaPlane(AVPixelFormat format)
{
    switch (format) {
    case AV_PIX_FMT_YUV420P:
    case AV_PIX_FMT_YUV422P:
    case AV_PIX_FMT_YUV444P:
    case AV_PIX_FMT_YUV440P:
    case AV_PIX_FMT_YUV411P:
    case AV_PIX_FMT_YUV410P:
    case AV_PIX_FMT_NV12:
    case AV_PIX_FMT_NV21:
    case AV_PIX_FMT_GRAY8:
        return true;
    default:
        return false;
    }
}

// A picture whose rows start on 64-byte boundaries and whose buffer runs on
// past its last row: libswscale's vector code writes whole blocks of pixels
// and goes past the end of a row that is not a multiple of them (a 200 px
// wide picture overran a plain QImage and corrupted the heap).
QImage paddedImage(int width, int height, QImage::Format format)
{
    const int depth = format == QImage::Format_Grayscale8 ? 1 : 4;
    const qsizetype stride = (qsizetype(width) * depth + 63) / 64 * 64;
    const qsizetype bytes = stride * (qsizetype(height) + 1) + 64;
    auto *buffer = static_cast<uchar *>(av_malloc(size_t(bytes)));
    if (!buffer)
        return {};
    return QImage(
        buffer, width, height, stride, format, [](void *data) { av_free(data); }, buffer);
}

} // namespace

FrameDecoder::FrameDecoder(AVFormatContext *format, int stream, const QList<IndexedFrame> &frames,
                           Orientation orientation)
    : m_format(format)
    , m_stream(stream)
    , m_frames(frames)
    , m_orientation(orientation)
{ }

FrameDecoder::~FrameDecoder()
{
    sws_freeContext(m_scaler);
    av_frame_free(&m_decoded);
    av_packet_free(&m_packet);
    avcodec_free_context(&m_codec);
}

bool FrameDecoder::open(QString *error)
{
    const AVStream *stream = m_format->streams[m_stream];
    const AVCodec *codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec) {
        *error = QStringLiteral("Cette vidéo est compressée dans un format (%1) que le programme "
                                "ne sait pas décoder.")
                     .arg(QString::fromUtf8(avcodec_get_name(stream->codecpar->codec_id)));
        return false;
    }
    m_codec = avcodec_alloc_context3(codec);
    m_packet = av_packet_alloc();
    m_decoded = av_frame_alloc();
    if (!m_codec || !m_packet || !m_decoded
        || avcodec_parameters_to_context(m_codec, stream->codecpar) < 0) {
        *error = QStringLiteral("La mémoire manque pour décoder cette vidéo.");
        return false;
    }
    m_codec->pkt_timebase = stream->time_base;
    m_codec->thread_count = 0;
    m_codec->max_pixels = VideoFile::kMaxPixels;
    if (avcodec_open2(m_codec, codec, nullptr) < 0) {
        *error = QStringLiteral("Le décodeur refuse la piste vidéo de ce fichier : il est "
                                "tronqué ou endommagé.");
        return false;
    }
    return true;
}

void FrameDecoder::setPixelFormat(QImage::Format format)
{
    if (format != QImage::Format_Grayscale8)
        format = QImage::Format_RGB32;
    if (format != m_pixelFormat)
        m_kept.clear();
    m_pixelFormat = format;
}

QImage FrameDecoder::picture(int frame)
{
    if (frame < 0 || frame >= m_frames.size())
        return {};
    for (qsizetype i = 0; i < m_kept.size(); ++i) {
        if (m_kept[i].frame == frame) {
            m_kept.move(i, 0);
            return m_kept.first().picture;
        }
    }
    QImage result;
    const bool decodeOn = m_last >= 0 && frame > m_last && frame - m_last <= kDecodeOnReach;
    Outcome outcome = decodeOn ? decodeUpTo(frame, &result) : Outcome::Missed;
    for (int back = 0; outcome == Outcome::Missed && back <= kSeekRetries; ++back) {
        if (!seekBefore(frame, back))
            break;
        outcome = decodeUpTo(frame, &result);
    }
    if (outcome != Outcome::Found) {
        m_last = -1;
        return {};
    }
    remember(frame, result);
    return result;
}

bool FrameDecoder::seekBefore(int frame, int keyframesBack)
{
    // Without enough keyframes before it, the search ends at the start.
    int key = frame;
    for (int toSkip = keyframesBack; key > 0; --key) {
        if (m_frames[key].key && toSkip-- == 0)
            break;
    }
    if (av_seek_frame(m_format, m_stream, m_frames[key].pts, AVSEEK_FLAG_BACKWARD) < 0)
        return false;
    ++m_seeks;
    avcodec_flush_buffers(m_codec);
    m_draining = false;
    m_last = -1;
    return true;
}

FrameDecoder::Outcome FrameDecoder::decodeUpTo(int frame, QImage *picture)
{
    const int64_t target = m_frames[frame].pts;
    bool first = true;
    for (;;) {
        const int received = avcodec_receive_frame(m_codec, m_decoded);
        if (received == 0) {
            const int64_t time = timestampOf(m_decoded);
            const bool before = time == AV_NOPTS_VALUE || time < target;
            const bool wasFirst = first;
            first = false;
            if (before) {
                av_frame_unref(m_decoded);
                continue;
            }
            if (time > target) {
                // The seek landed after the wanted frame, or the stream lacks it.
                av_frame_unref(m_decoded);
                m_last = -1;
                return wasFirst ? Outcome::Missed : Outcome::Failed;
            }
            *picture = convert(m_decoded);
            av_frame_unref(m_decoded);
            m_last = frame;
            return picture->isNull() ? Outcome::Failed : Outcome::Found;
        }
        if (received != AVERROR(EAGAIN) || m_draining) {
            m_last = -1;
            return Outcome::Failed;
        }
        if (!readPacket()) {
            // End of the stream: the decoder gives back the frames it holds.
            m_draining = true;
            avcodec_send_packet(m_codec, nullptr);
            continue;
        }
        // A damaged packet is skipped: its frame will be missing, not wrong.
        avcodec_send_packet(m_codec, m_packet);
        av_packet_unref(m_packet);
    }
}

bool FrameDecoder::readPacket()
{
    while (av_read_frame(m_format, m_packet) >= 0) {
        if (m_packet->stream_index == m_stream)
            return true;
        av_packet_unref(m_packet);
    }
    return false;
}

QImage FrameDecoder::convert(const AVFrame *decoded)
{
    const int width = decoded->width;
    const int height = decoded->height;
    if (width <= 0 || height <= 0)
        return {};
    bool fullRange = decoded->color_range == AVCOL_RANGE_JPEG;
    const AVPixelFormat source = plainFormat(AVPixelFormat(decoded->format), &fullRange);
    QImage image;
    if (m_pixelFormat == QImage::Format_Grayscale8 && hasLumaPlane(source)) {
        image = lumaOf(decoded, fullRange);
    } else {
        const AVPixelFormat target
            = m_pixelFormat == QImage::Format_Grayscale8 ? AV_PIX_FMT_GRAY8 : AV_PIX_FMT_RGB32;
        m_scaler = sws_getCachedContext(m_scaler, width, height, source, width, height, target,
                                        SWS_BILINEAR, nullptr, nullptr, nullptr);
        if (!m_scaler)
            return {};
        const int space = decoded->colorspace == AVCOL_SPC_BT709 ? SWS_CS_ITU709 : SWS_CS_DEFAULT;
        // Setting the conversion rebuilds its tables: only when it changes.
        if (m_scaler != m_scalerSetFor || m_scalerRange != int(fullRange)
            || m_scalerSpace != space) {
            const int *coefficients = sws_getCoefficients(space);
            sws_setColorspaceDetails(m_scaler, coefficients, fullRange ? 1 : 0, coefficients, 1, 0,
                                     1 << 16, 1 << 16);
            m_scalerSetFor = m_scaler;
            m_scalerRange = int(fullRange);
            m_scalerSpace = space;
        }
        image = paddedImage(width, height, m_pixelFormat);
        if (image.isNull())
            return {};
        uint8_t *planes[4] = {image.bits(), nullptr, nullptr, nullptr};
        const int strides[4] = {int(image.bytesPerLine()), 0, 0, 0};
        if (sws_scale(m_scaler, decoded->data, decoded->linesize, 0, height, planes, strides)
            != height)
            return {};
    }
    if (!image.isNull() && m_orientation != Orientation())
        image = m_orientation.upright(image);
    return image;
}

// The grey picture of a YUV frame is its luma plane, stretched from the
// video range (16…235) to 0…255 unless it already spans it.
QImage FrameDecoder::lumaOf(const AVFrame *decoded, bool fullRange) const
{
    QImage image(decoded->width, decoded->height, QImage::Format_Grayscale8);
    if (image.isNull())
        return {};
    uchar levels[256];
    for (int y = 0; y < 256; ++y)
        levels[y] = fullRange ? uchar(y) : uchar(qBound(0, ((y - 16) * 255 + 109) / 219, 255));
    for (int row = 0; row < decoded->height; ++row) {
        const uint8_t *from = decoded->data[0] + qsizetype(row) * decoded->linesize[0];
        uchar *to = image.scanLine(row);
        for (int x = 0; x < decoded->width; ++x)
            to[x] = levels[from[x]];
    }
    return image;
}

void FrameDecoder::remember(int frame, const QImage &picture)
{
    m_kept.prepend({frame, picture});
    if (m_kept.size() > kKept)
        m_kept.removeLast();
}
