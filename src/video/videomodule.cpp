// SPDX-License-Identifier: GPL-3.0-or-later
// The decoding module: FFmpeg's reader behind the one entry point the
// program resolves when the first video is opened.
#include "videomodule.h"
#include "videofile.h"

#include <QtGlobal>

#include <memory>

namespace {

OpenedVideo *openVideo(const QString &path, const OpeningProgress &progress, QString *error)
{
    auto video = std::make_unique<VideoFile>();
    if (!video->open(path, progress)) {
        *error = video->errorString();
        return nullptr;
    }
    return video.release();
}

} // namespace

extern "C" Q_DECL_EXPORT const VideoModuleEntry *lorva_video_module()
{
    static const VideoModuleEntry entry {kVideoModuleAbi, &openVideo};
    return &entry;
}
