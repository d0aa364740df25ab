// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "openedvideo.h"

#include <QThread>

#include <atomic>
#include <memory>

// Opens a video on a thread of its own, so that indexing a long file leaves
// the window responsive: progress() while it reads, then finished() (from
// QThread). The caller then takes the video or reads the French error. The
// decoding module is loaded on that thread too, the first time (VideoLoader).
class VideoOpener : public QThread
{
    Q_OBJECT

public:
    explicit VideoOpener(const QString &path, QObject *parent = nullptr);
    ~VideoOpener() override;

    // Asks the reading to stop; the opening then fails with a message.
    void cancel() { m_cancel = true; }

    // After finished(): the opened video (null on failure; ownership passes
    // to the caller, who then uses it from one thread) and the error message.
    std::unique_ptr<OpenedVideo> takeVideo();
    QString errorString() const;

signals:
    void progress(int percent);

protected:
    void run() override;

private:
    const QString m_path;
    std::atomic_bool m_cancel = false;
    std::unique_ptr<OpenedVideo> m_video;
    QString m_error;
};
