// SPDX-License-Identifier: GPL-3.0-or-later
// What the video dialog does: opening, stepping, calibrating, tracking and
// handing the track to the measured fall.
#include "videodialog.h"

#include "core/numberformat.h"
#include "frameview.h"
#include "measures/measurementholder.h"
#include "platform/platformservices.h"
#include "video/videoloader.h"
#include "video/videoopener.h"

#include <QComboBox>
#include <QEventLoop>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QThread>

#include <QSignalBlocker>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

// A typed positive number, or NaN when the field is empty or not such a number.
double positive(const QLineEdit *edit)
{
    const std::optional<double> v = NumberFormat::parse(edit->text());
    return v && *v > 0.0 && std::isfinite(*v) ? *v : std::nan("");
}

} // namespace

void VideoDialog::error(const QString &text)
{
    m_services.message(MessageIcon::Error, title(), text);
}

void VideoDialog::ouvrir_Click()
{
    if (m_opener || m_thread)
        return;
    FileDialogRequest request;
    request.title = QStringLiteral("Ouvrir une vidéo");
    request.filter = QStringLiteral(
        "Vidéos (*.mp4 *.m4v *.mov *.avi *.webm *.mkv *.3gp);;Tous les fichiers (*)");
    const std::optional<QString> name = m_services.openFileName(request);
    if (!name)
        return;
    m_openingName = QFileInfo(*name).fileName();
    m_opener = new VideoOpener(*name, this);
    connect(m_opener, &VideoOpener::progress, progress, &QProgressBar::setValue);
    connect(m_opener, &QThread::finished, this, &VideoDialog::openingFinished);
    m_cancel = false;
    progress->setValue(0);
    setBusy(true);
    status->setText(QStringLiteral("Lecture de « %1 »…").arg(QFileInfo(*name).fileName()));
    m_opener->start();
}

void VideoDialog::openingFinished()
{
    VideoOpener *opener = m_opener;
    m_opener = nullptr;
    opener->wait();
    std::unique_ptr<OpenedVideo> video = opener->takeVideo();
    const QString why = opener->errorString();
    opener->deleteLater();
    setBusy(false);
    status->clear();
    if (!video) {
        error(why);
        refresh();
        return;
    }
    OpenedVideo *raw = video.get();
    adoptSource(std::move(video), raw, m_openingName);
}

bool VideoDialog::openVideo(const QString &path)
{
    QString why;
    std::unique_ptr<OpenedVideo> video = VideoLoader::open(path, {}, &why);
    if (!video) {
        error(why);
        return false;
    }
    OpenedVideo *raw = video.get();
    adoptSource(std::move(video), raw, QFileInfo(path).fileName());
    return true;
}

void VideoDialog::setSource(std::unique_ptr<FrameSource> source, const QString &name)
{
    adoptSource(std::move(source), nullptr, name);
}

void VideoDialog::adoptSource(std::unique_ptr<FrameSource> source, OpenedVideo *video,
                              const QString &name)
{
    m_tracker.reset();
    m_source = std::move(source);
    m_video = video;
    m_name = name;
    m_scaleClicks = 0;
    m_hasOrigin = false;
    m_linked = false;
    m_calibration = Calibration();
    m_frame = 0;
    const QSize size = m_source->frameSize();
    fileLabel->setText(QStringLiteral("%1 : %2 images, %3 × %4 px")
                           .arg(name)
                           .arg(m_source->frameCount())
                           .arg(size.width())
                           .arg(size.height()));
    captureRate->clear();
    warning->hide();
    if (m_video) {
        if (m_video->statedCaptureRate() > 0.0)
            captureRate->setText(NumberFormat::significant(m_video->statedCaptureRate(), 4));
        if (m_video->hasSpeedRamps()) {
            warning->setText(m_video->warning());
            warning->show();
            m_services.message(MessageIcon::Warning, title(), m_video->warning());
        }
    }
    slider->setRange(0, std::max(0, m_source->frameCount() - 1));
    status->setText(QStringLiteral("Cliquer les deux extrémités de l'échelle."));
    modeScale->setChecked(true);
    calibrationChanged();
    showFrame(0);
}

void VideoDialog::showFrame(int frame)
{
    if (!m_source || m_thread || m_source->frameCount() == 0)
        return;
    m_frame = std::clamp(frame, 0, m_source->frameCount() - 1);
    const QImage picture = m_source->frame(m_frame);
    view->setPicture(picture);
    if (picture.isNull())
        status->setText(QStringLiteral("L'image %1 ne peut pas être lue.").arg(m_frame));
    const QSignalBlocker block(slider);
    slider->setValue(m_frame);
    frameLabel->setText(QStringLiteral("Image %1 / %2 · t = %3 s")
                            .arg(m_frame)
                            .arg(m_source->frameCount() - 1)
                            .arg(NumberFormat::significant(m_source->timeOf(m_frame), 4)));
    refresh();
}

void VideoDialog::setMode(Mode mode)
{
    m_mode = mode;
    const std::pair<QRadioButton *, Mode> buttons[] = {
        {modeScale, Mode::Scale},
        {modeOrigin, Mode::Origin},
        {modeBall, Mode::Ball},
        {modeManual, Mode::Manual},
    };
    for (const auto &[button, m] : buttons)
        if (m == mode && !button->isChecked())
            button->setChecked(true);
}

void VideoDialog::pictureClicked(QPointF point)
{
    if (!m_source || m_thread)
        return;
    switch (m_mode) {
    case Mode::Scale:
        if (m_scaleClicks != 1) {
            m_calibration.scaleStart = point;
            m_scaleClicks = 1;
            status->setText(QStringLiteral("Cliquer la seconde extrémité de l'échelle."));
        } else {
            m_calibration.scaleEnd = point;
            m_scaleClicks = 2;
            status->setText(QStringLiteral("Échelle placée."));
            if (distance->text().trimmed().isEmpty())
                distance->setFocus();
        }
        calibrationChanged();
        break;
    case Mode::Origin:
        m_calibration.origin = point;
        m_hasOrigin = true;
        calibrationChanged();
        break;
    case Mode::Ball:
        startTracking(point);
        break;
    case Mode::Manual:
        if (!m_tracker)
            m_tracker = std::make_unique<BallTracker>(*m_source);
        m_tracker->setManual(m_frame, point);
        publishIfLinked();
        if (m_frame + 1 < m_source->frameCount())
            showFrame(m_frame + 1);
        else
            refresh();
        break;
    }
}

double VideoDialog::refractionFactor() const
{
    return m_calibration.refractionFactor;
}

void VideoDialog::calibrationChanged()
{
    const double cm = positive(distance);
    m_calibration.scaleDistance = std::isnan(cm) ? 0.0 : cm / 100.0;

    const auto where = static_cast<ScalePlacement>(placement->currentIndex());
    const bool immersed = where == ScalePlacement::Immersed;
    for (QLineEdit *edit : {index, tubeRadius, cameraDistance})
        edit->setEnabled(!immersed);
    m_calibration.refractionFactor = 1.0;
    QString text = QStringLiteral("Échelle dans le plan de chute : aucune correction.");
    if (!immersed) {
        TubeOptics optics;
        optics.refractiveIndex = positive(index);
        optics.innerRadius = positive(tubeRadius) / 1000.0;
        optics.cameraDistance = positive(cameraDistance) / 100.0;
        const QString problem = optics.problem();
        if (!problem.isEmpty()) {
            // Without the tube's optics no position is given: they would be off.
            m_calibration.refractionFactor = std::nan("");
            text = problem;
        } else {
            // The fall spans the picture's height, seen in the plane of the fall.
            Calibration plain = m_calibration;
            plain.refractionFactor = 1.0;
            double halfSpan = 0.0;
            if (plain.isValid() && m_source)
                halfSpan = plain.metresPerPixel() * m_source->frameSize().height() / 2.0;
            m_calibration.refractionFactor = Refraction::scaleFactor(where, optics, halfSpan);
            text = QStringLiteral("Facteur appliqué à l'échelle (réfraction du tube) : %1")
                       .arg(NumberFormat::significant(m_calibration.refractionFactor, 4));
        }
    }
    factor->setText(text);
    publishIfLinked();
    refresh();
}

void VideoDialog::captureRateChanged()
{
    if (!m_video)
        return;
    const double rate = positive(captureRate);
    m_video->setCaptureRate(std::isnan(rate) ? 0.0 : rate);
    publishIfLinked();
    showFrame(m_frame);
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

void VideoDialog::setBusy(bool busy)
{
    for (QWidget *w :
         std::initializer_list<QWidget *> {ouvrir, previous, next, slider, view, utiliser})
        w->setEnabled(!busy);
    for (QGroupBox *box : findChildren<QGroupBox *>())
        box->setEnabled(!busy);
    progress->setVisible(busy);
    annuler->setVisible(busy);
    if (busy)
        annuler->setFocus();
}

void VideoDialog::refresh()
{
    const bool has = m_source != nullptr;
    for (QWidget *w : std::initializer_list<QWidget *> {previous, next, slider, utiliser})
        w->setEnabled(has && !m_thread);
    FrameOverlay overlay;
    overlay.hasScaleStart = m_scaleClicks >= 1;
    overlay.hasScaleEnd = m_scaleClicks >= 2;
    overlay.scaleStart = m_calibration.scaleStart;
    overlay.scaleEnd = m_calibration.scaleEnd;
    if (m_calibration.scaleDistance > 0.0)
        overlay.scaleText = QStringLiteral("%1 cm").arg(
            NumberFormat::significant(m_calibration.scaleDistance * 100.0, 4));
    Calibration shown = m_calibration;
    if (m_tracker && !m_hasOrigin && !m_tracker->points().empty())
        shown.origin = m_tracker->points().begin()->second.centre;
    overlay.hasOrigin = m_hasOrigin || (m_tracker && !m_tracker->points().empty());
    overlay.origin = shown.origin;
    if (m_scaleClicks == 2)
        overlay.axis = shown.axis();
    if (m_tracker) {
        for (const auto &[frame, point] : m_tracker->points()) {
            overlay.path.push_back(point.centre);
            if (frame == m_frame) {
                overlay.hasCentre = true;
                overlay.centre = point.centre;
            }
        }
    }
    view->setOverlay(overlay);
}

MeasurementSet VideoDialog::measurements(QString *why) const
{
    if (!m_tracker || m_tracker->points().size() < 3) {
        *why = QStringLiteral("Il faut au moins trois positions de la bille : cliquer la bille "
                              "pour la suivre, ou la pointer à la main.");
        return {};
    }
    Calibration calibration = m_calibration;
    if (!m_hasOrigin)
        calibration.origin = m_tracker->points().begin()->second.centre;
    if (m_scaleClicks < 2) {
        *why = QStringLiteral("L'échelle n'est pas placée : cliquer ses deux extrémités.");
        return {};
    }
    if (!std::isfinite(calibration.refractionFactor)) {
        *why = factor->text();
        return {};
    }
    if (!calibration.isValid()) {
        *why = calibration.problem();
        return {};
    }
    std::map<int, TrackPoint> points = m_tracker->points();
    for (auto &[frame, point] : points)
        point.time = m_source->timeOf(frame);
    return toMeasurements(points, calibration, m_name);
}

void VideoDialog::utiliser_Click()
{
    QString why;
    MeasurementSet set = measurements(&why);
    if (set.isEmpty()) {
        error(why);
        return;
    }
    m_holder.setSet(std::move(set));
    m_linked = true;
    status->setText(QStringLiteral("Les positions suivies sont dans les mesures ; la fenêtre "
                                   "« Mesures » les ajuste."));
}

void VideoDialog::publishIfLinked()
{
    if (!m_linked)
        return;
    QString why;
    MeasurementSet set = measurements(&why);
    if (!set.isEmpty())
        m_holder.setSet(std::move(set));
}
