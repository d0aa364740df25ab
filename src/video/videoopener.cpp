// SPDX-License-Identifier: GPL-3.0-or-later
#include "videoopener.h"

VideoOpener::VideoOpener(const QString &path, QObject *parent)
    : QThread(parent)
    , m_path(path)
{ }

VideoOpener::~VideoOpener()
{
    cancel();
    wait();
}

std::unique_ptr<VideoFile> VideoOpener::takeVideo()
{
    return isFinished() ? std::move(m_video) : nullptr;
}

QString VideoOpener::errorString() const
{
    return isFinished() ? m_error : QString();
}

void VideoOpener::run()
{
    auto video = std::make_unique<VideoFile>();
    VideoFile::Progress progress;
    progress.report = [this](int percent) { emit this->progress(percent); };
    progress.cancel = &m_cancel;
    if (video->open(m_path, progress))
        m_video = std::move(video);
    else
        m_error = video->errorString();
}
