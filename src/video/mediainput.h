// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

struct AVFormatContext;
struct AVIOContext;
class QIODevice;

// A demuxer reading from a QIODevice instead of a path, so that FFmpeg never
// interprets a file name as a protocol (a name starting "http:" stays a file)
// and never opens another file or address named inside the data (playlists,
// references). Only the containers phones and cameras write are accepted.
// The device must stay open, and alive, as long as this object.
class MediaInput
{
public:
    enum class Failure { None, NotAVideo, Damaged };

    MediaInput() = default;
    ~MediaInput();
    MediaInput(const MediaInput &) = delete;
    MediaInput &operator=(const MediaInput &) = delete;

    // Probes the data and reads the container's header. On failure, says
    // whether the data was not recognised at all or was recognised and then
    // found broken (a truncated file, typically).
    Failure open(QIODevice *device);

    AVFormatContext *context() const { return m_format; }
    QIODevice *device() const { return m_device; }

private:
    QIODevice *m_device = nullptr;
    AVIOContext *m_io = nullptr;
    AVFormatContext *m_format = nullptr;
};
