// SPDX-License-Identifier: GPL-3.0-or-later
#include "videofile.h"

#include "frametimes.h"
#include "videocontent.h"

#include <QFile>
#include <QFileInfo>

extern "C" {
#include <libavformat/avformat.h>
}

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

QString notAVideo()
{
    return QStringLiteral("Ce fichier n'est pas une vidéo que le programme sait lire.");
}

QString damaged()
{
    return QStringLiteral("Le fichier vidéo est tronqué ou endommagé : il ne peut pas être lu "
                          "jusqu'au bout.");
}

// FFmpeg writes its own diagnostics to the standard error; the user gets ours.
void quietLibraries()
{
    static const bool quiet = (av_log_set_level(AV_LOG_QUIET), true);
    Q_UNUSED(quiet);
}

// How the stored pictures are shown upright: the stream's display matrix.
Orientation orientationOf(const AVStream *stream)
{
    size_t size = 0;
    const uint8_t *matrix = av_stream_get_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, &size);
    if (!matrix || size < 9 * sizeof(int32_t))
        return {};
    int32_t terms[9];
    std::memcpy(terms, matrix, sizeof terms);
    return Orientation::fromDisplayMatrix(terms);
}

// Android states the rate of a slow-motion recording in this key, in the
// file's or the stream's metadata.
double captureRateIn(const AVFormatContext *format, const AVStream *stream)
{
    const AVDictionaryEntry *entry
        = av_dict_get(format->metadata, "com.android.capture.fps", nullptr, 0);
    if (!entry)
        entry = av_dict_get(stream->metadata, "com.android.capture.fps", nullptr, 0);
    if (!entry)
        return 0.0;
    bool ok = false;
    const double rate = QByteArray(entry->value).trimmed().toDouble(&ok);
    return ok && rate > 0.0 && rate <= 100000.0 ? rate : 0.0;
}

struct PacketDeleter
{
    void operator()(AVPacket *packet) const { av_packet_free(&packet); }
};

// Lists every frame of the stream from the container's packets, without
// decoding. Returns an empty string or the French reason of the failure.
// headerFrames: the frames the container's header listed for the stream,
// before any packet was read (reading adds to the list).
QString indexFrames(VideoContent &content, int headerFrames, const VideoFile::Progress &progress)
{
    AVFormatContext *format = content.input.context();
    AVStream *stream = format->streams[content.stream];
    const qint64 fileSize = content.device->size();

    // Frames the header places beyond the end of the file: a truncated copy.
    for (int i = 0; i < avformat_index_get_entries_count(stream); ++i) {
        const AVIndexEntry *entry = avformat_index_get_entry(stream, i);
        if (entry && entry->pos + entry->size > fileSize)
            return damaged();
    }

    std::unique_ptr<AVPacket, PacketDeleter> packet(av_packet_alloc());
    if (!packet)
        return QStringLiteral("La mémoire manque pour lire cette vidéo.");
    int discarded = 0;
    int lastPercent = -1;
    for (;;) {
        if (progress.cancel && progress.cancel->load())
            return QStringLiteral("Ouverture de la vidéo annulée.");
        const int read = av_read_frame(format, packet.get());
        if (read == AVERROR_EOF)
            break;
        if (read < 0)
            return damaged();
        if (packet->stream_index == content.stream) {
            const int64_t time = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
            if (packet->flags & AV_PKT_FLAG_CORRUPT)
                return damaged();
            if (time == AV_NOPTS_VALUE)
                return QStringLiteral("Les images de cette vidéo ne portent pas leur instant : "
                                      "elle ne peut pas servir à une mesure.");
            if (content.frames.size() >= VideoFile::kMaxFrames)
                return QStringLiteral("Cette vidéo compte plus de %1 images : elle est trop "
                                      "longue pour une mesure.")
                    .arg(VideoFile::kMaxFrames);
            if (packet->flags & AV_PKT_FLAG_DISCARD)
                ++discarded;
            else
                content.frames.append({time, (packet->flags & AV_PKT_FLAG_KEY) != 0});
        }
        av_packet_unref(packet.get());
        if (progress.report && fileSize > 0) {
            const int percent
                = int(std::clamp<int64_t>(avio_tell(format->pb), 0, fileSize) * 99 / fileSize);
            if (percent != lastPercent)
                progress.report(lastPercent = percent);
        }
    }
    // Without a list of frames in the header (an AVI cut before its index),
    // fewer frames than the header counts means the end is missing. With a
    // list, the count may include frames an edit list drops.
    if (headerFrames == 0 && stream->nb_frames > content.frames.size() + discarded)
        return damaged();
    if (content.frames.isEmpty())
        return QStringLiteral("La piste vidéo de ce fichier ne contient aucune image.");

    // Packets come in decoding order; B-frames make it differ from the
    // presentation order. Two packets of one instant are one frame.
    std::stable_sort(content.frames.begin(), content.frames.end(),
                     [](const IndexedFrame &a, const IndexedFrame &b) { return a.pts < b.pts; });
    QList<IndexedFrame> unique;
    unique.reserve(content.frames.size());
    for (const IndexedFrame &frame : std::as_const(content.frames)) {
        if (!unique.isEmpty() && unique.last().pts == frame.pts)
            unique.last().key = unique.last().key || frame.key;
        else
            unique.append(frame);
    }
    content.frames = unique;
    const double timeBase = av_q2d(stream->time_base);
    if (!(timeBase > 0.0))
        return damaged();
    content.storedTimes.reserve(content.frames.size());
    for (const IndexedFrame &frame : std::as_const(content.frames))
        content.storedTimes.append(double(frame.pts - content.frames.first().pts) * timeBase);
    return {};
}

} // namespace

VideoFile::VideoFile() = default;
VideoFile::~VideoFile() = default;

bool VideoFile::open(const QString &path, const Progress &progress)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        m_error = QStringLiteral("Le fichier « %1 » n'existe pas.").arg(info.fileName());
        return false;
    }
    if (info.isDir()) {
        m_error = QStringLiteral("« %1 » est un dossier, pas une vidéo.").arg(info.fileName());
        return false;
    }
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("Le fichier « %1 » ne peut pas être lu : %2")
                      .arg(info.fileName(), file->errorString());
        return false;
    }
    return open(std::move(file), progress);
}

bool VideoFile::open(std::unique_ptr<QIODevice> device, const Progress &progress)
{
    quietLibraries();
    const auto fail = [this](const QString &message) {
        m_error = message;
        return false;
    };
    if (!device || !device->isReadable())
        return fail(QStringLiteral("Le fichier ne peut pas être lu."));
    if (device->isSequential())
        return fail(QStringLiteral("Une vidéo se lit depuis un fichier enregistré sur le disque."));
    if (device->size() == 0)
        return fail(QStringLiteral("Le fichier est vide."));
    // Refused before anything is read: indexing reads the whole file.
    if (device->size() > kMaxFileSize)
        return fail(QStringLiteral("Le fichier est trop gros : une vidéo de mesure ne dépasse pas "
                                   "2 Go."));

    auto content = std::make_unique<VideoContent>();
    content->device = std::move(device);
    switch (content->input.open(content->device.get())) {
    case MediaInput::Failure::NotAVideo:
        return fail(notAVideo());
    case MediaInput::Failure::Damaged:
        return fail(damaged());
    case MediaInput::Failure::None:
        break;
    }
    AVFormatContext *format = content->input.context();
    // Only fills in what the header left out; a failure shows below.
    QList<int> headerFrames;
    for (unsigned i = 0; i < format->nb_streams; ++i)
        headerFrames.append(avformat_index_get_entries_count(format->streams[i]));
    avformat_find_stream_info(format, nullptr);
    content->stream = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (content->stream < 0
        || (format->streams[content->stream]->disposition & AV_DISPOSITION_ATTACHED_PIC))
        return fail(QStringLiteral("Ce fichier ne contient aucune piste vidéo."));
    const AVCodecParameters *parameters = format->streams[content->stream]->codecpar;
    if (qint64(parameters->width) * parameters->height > kMaxPixels)
        return fail(QStringLiteral("Les images de cette vidéo sont trop grandes (%1 × %2 "
                                   "pixels).")
                        .arg(parameters->width)
                        .arg(parameters->height));
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        if (int(i) != content->stream)
            format->streams[i]->discard = AVDISCARD_ALL;
    }
    const QString indexError = indexFrames(*content, headerFrames.value(content->stream), progress);
    if (!indexError.isEmpty())
        return fail(indexError);

    const AVStream *stream = format->streams[content->stream];
    content->orientation = orientationOf(stream);
    content->playbackRate
        = content->frames.size() > 1 ? 1.0 / FrameTimes::medianInterval(content->storedTimes) : 0.0;
    if (!std::isfinite(content->playbackRate))
        content->playbackRate = 0.0;
    content->statedCaptureRate = captureRateIn(format, stream);
    content->captureRate = content->statedCaptureRate;
    content->timeFactor = FrameTimes::realTimeFactor(content->playbackRate, content->captureRate);
    content->speedRamps = FrameTimes::hasSpeedRamps(content->storedTimes);

    content->decoder = std::make_unique<FrameDecoder>(format, content->stream, content->frames,
                                                      content->orientation);
    QString decoderError;
    if (!content->decoder->open(&decoderError))
        return fail(decoderError);
    content->decoder->setPixelFormat(m_pixelFormat);
    // The first picture proves the stream decodes and gives the true size.
    const QImage first = content->decoder->picture(0);
    if (first.isNull())
        return fail(damaged());
    content->uprightSize = first.size();
    if (progress.report)
        progress.report(100);
    m_content = std::move(content);
    m_error.clear();
    return true;
}

bool VideoFile::isOpen() const
{
    return m_content != nullptr;
}

int VideoFile::frameCount() const
{
    return m_content ? int(m_content->frames.size()) : 0;
}

QSize VideoFile::frameSize() const
{
    return m_content ? m_content->uprightSize : QSize();
}

double VideoFile::timeOf(int frame) const
{
    if (!m_content || frame < 0 || frame >= m_content->storedTimes.size())
        return 0.0;
    return m_content->storedTimes[frame] * m_content->timeFactor;
}

QImage VideoFile::frame(int frame)
{
    if (!m_content)
        return QImage();
    QImage picture = m_content->decoder->picture(frame);
    // A stream may change its picture size midway (a new sequence header).
    // Every reader of frames relies on the one size the video announces, so
    // such a picture counts as one that cannot be decoded.
    if (picture.size() != m_content->uprightSize)
        return QImage();
    return picture;
}

int VideoFile::seekCount() const
{
    return m_content ? m_content->decoder->seekCount() : 0;
}

void VideoFile::setPixelFormat(QImage::Format format)
{
    m_pixelFormat = format;
    if (m_content)
        m_content->decoder->setPixelFormat(format);
}

Orientation VideoFile::orientation() const
{
    return m_content ? m_content->orientation : Orientation();
}

double VideoFile::playbackRate() const
{
    return m_content ? m_content->playbackRate : 0.0;
}

double VideoFile::statedCaptureRate() const
{
    return m_content ? m_content->statedCaptureRate : 0.0;
}

double VideoFile::captureRate() const
{
    return m_content ? m_content->captureRate : 0.0;
}

void VideoFile::setCaptureRate(double imagesPerSecond)
{
    if (!m_content)
        return;
    m_content->captureRate
        = std::isfinite(imagesPerSecond) && imagesPerSecond > 0.0 ? imagesPerSecond : 0.0;
    m_content->timeFactor
        = FrameTimes::realTimeFactor(m_content->playbackRate, m_content->captureRate);
}

bool VideoFile::hasSpeedRamps() const
{
    return m_content && m_content->speedRamps;
}

QString VideoFile::warning() const
{
    if (!hasSpeedRamps())
        return {};
    return QStringLiteral("Les instants des images sont irréguliers : cette vidéo semble être un "
                          "ralenti aplati par la galerie du téléphone, avec des changements de "
                          "vitesse. Elle ne peut pas servir à une mesure ; utilisez la vidéo "
                          "ralentie d'origine.");
}
