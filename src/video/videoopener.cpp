// SPDX-License-Identifier: GPL-3.0-or-later
#include "videoopener.h"

#include "videoloader.h"

VideoOpener::VideoOpener(const QString &path, QObject *parent)
    : QThread(parent)
    , m_path(path)
{ }

VideoOpener::~VideoOpener()
{
    cancel();
    wait();
}

std::unique_ptr<OpenedVideo> VideoOpener::takeVideo()
{
    return isFinished() ? std::move(m_video) : nullptr;
}

QString VideoOpener::errorString() const
{
    return isFinished() ? m_error : QString();
}

void VideoOpener::run()
{
    OpeningProgress progress;
    progress.report = [this](int percent) { emit this->progress(percent); };
    progress.cancel = &m_cancel;
    m_video = VideoLoader::open(m_path, progress, &m_error);
}
