// SPDX-License-Identifier: GPL-3.0-or-later
// Following the ball in the video dialog: from one click on a thread of its
// own, or pointed by hand every few images.
#include "videodialog.h"

#include "video/framesource.h"

#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QSpinBox>
#include <QThread>

void VideoDialog::manualClick(QPointF point)
{
    if (!m_tracker)
        m_tracker = std::make_unique<BallTracker>(*m_source);
    if (!m_tracker->setManual(m_frame, point))
        return;
    publishIfLinked();
    const int pointed = m_frame;
    const int count = int(m_tracker->points().size());
    const int next = m_frame + manualStep->value();
    if (next < m_source->frameCount()) {
        showFrame(next);
        status->setText(QStringLiteral("Image %1 pointée (%2 position(s)) : cliquer la bille "
                                       "sur l'image %3.")
                            .arg(pointed)
                            .arg(count)
                            .arg(next));
    } else {
        refresh();
        status->setText(
            QStringLiteral("Image %1 pointée (%2 position(s)) : fin de la vidéo atteinte.")
                .arg(pointed)
                .arg(count));
    }
}

void VideoDialog::startTracking(QPointF point)
{
    if (!m_tracker)
        m_tracker = std::make_unique<BallTracker>(*m_source);
    if (!m_tracker->start(m_frame, point)) {
        error(m_tracker->errorString());
        return;
    }
    const int first = m_frame;
    const int count = m_source->frameCount();
    m_cancel = false;
    progress->setValue(0);
    setBusy(true);
    status->setText(QStringLiteral("Suivi de la bille…"));
    m_thread = QThread::create([this, first, count] {
        m_tracker->run(-1, [this, first, count](int frame) {
            const int percent
                = count > first + 1 ? (frame - first) * 100 / (count - 1 - first) : 100;
            QMetaObject::invokeMethod(progress, "setValue", Qt::QueuedConnection,
                                      Q_ARG(int, percent));
            return !m_cancel.load();
        });
    });
    connect(m_thread, &QThread::finished, this, &VideoDialog::trackingDone);
    m_thread->start();
}

void VideoDialog::trackingDone()
{
    m_thread->wait();
    m_thread->deleteLater();
    m_thread = nullptr;
    setBusy(false);
    const int tracked = int(m_tracker->points().size());
    status->setText(
        QStringLiteral("%1 %2 position(s) en tout.").arg(m_tracker->stopMessage()).arg(tracked));
    const int stop = m_tracker->stopFrame();
    showBallSize();
    publishIfLinked();
    if (stop >= 0)
        showFrame(stop);
    emit trackingFinished();
}

void VideoDialog::waitForTracking()
{
    if (!m_thread)
        return;
    QEventLoop loop;
    connect(this, &VideoDialog::trackingFinished, &loop, &QEventLoop::quit);
    if (m_thread)
        loop.exec();
}
