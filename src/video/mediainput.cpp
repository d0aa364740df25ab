// SPDX-License-Identifier: GPL-3.0-or-later
#include "mediainput.h"

#include <QIODevice>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/avstring.h>
#include <libavutil/mem.h>
}

namespace {

constexpr int kBufferSize = 64 * 1024;

// The demuxers of the containers phones, cameras and school software write;
// anything else (playlists, images, raw streams, text formats) is refused.
constexpr const char *kContainers = "mov,avi,matroska,webm,mpegts,mpeg,flv,asf,ogg";

int readDevice(void *opaque, uint8_t *buffer, int size)
{
    auto *device = static_cast<QIODevice *>(opaque);
    const qint64 read = device->read(reinterpret_cast<char *>(buffer), size);
    if (read < 0)
        return AVERROR(EIO);
    if (read == 0)
        return AVERROR_EOF;
    return int(read);
}

int64_t seekDevice(void *opaque, int64_t offset, int whence)
{
    auto *device = static_cast<QIODevice *>(opaque);
    if (whence & AVSEEK_SIZE)
        return device->size();
    qint64 base = 0;
    switch (whence & ~AVSEEK_FORCE) {
    case SEEK_SET:
        break;
    case SEEK_CUR:
        base = device->pos();
        break;
    case SEEK_END:
        base = device->size();
        break;
    default:
        return AVERROR(EINVAL);
    }
    qint64 position = 0;
    if (__builtin_add_overflow(base, offset, &position) || position < 0 || !device->seek(position))
        return AVERROR(EIO);
    return position;
}

// Every file or address a demuxer would open besides the one it reads.
int refuseOtherFiles(AVFormatContext *, AVIOContext **, const char *, int, AVDictionary **)
{
    return AVERROR(EPERM);
}

} // namespace

MediaInput::~MediaInput()
{
    avformat_close_input(&m_format);
    if (m_io) {
        av_freep(&m_io->buffer);
        avio_context_free(&m_io);
    }
}

MediaInput::Failure MediaInput::open(QIODevice *device)
{
    m_device = device;
    auto *buffer = static_cast<unsigned char *>(av_malloc(kBufferSize));
    m_io = avio_alloc_context(buffer, kBufferSize, 0, device, readDevice, nullptr, seekDevice);
    if (!m_io) {
        av_free(buffer);
        return Failure::Damaged;
    }
    const AVInputFormat *format = nullptr;
    if (av_probe_input_buffer2(m_io, &format, "", nullptr, 0, 0) < 0 || !format)
        return Failure::NotAVideo;
    if (!av_match_list(format->name, kContainers, ','))
        return Failure::NotAVideo;

    m_format = avformat_alloc_context();
    if (!m_format)
        return Failure::Damaged;
    m_format->pb = m_io;
    m_format->flags |= AVFMT_FLAG_CUSTOM_IO;
    m_format->io_open = refuseOtherFiles;
    m_format->format_whitelist = av_strdup(kContainers);
    // avformat_open_input frees the context when it fails.
    if (avformat_open_input(&m_format, "", format, nullptr) < 0)
        return Failure::Damaged;
    return Failure::None;
}
