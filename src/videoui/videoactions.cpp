// SPDX-License-Identifier: GPL-3.0-or-later
// What the video dialog does: opening, stepping, calibrating, tracking and
// handing the track to the measured fall.
#include "videodialog.h"

#include "calibrationtexts.h"
#include "core/numberformat.h"
#include "frameview.h"
#include "measures/measurementholder.h"
#include "platform/platformservices.h"
#include "video/videoloader.h"
#include "video/videoopener.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStandardPaths>
#include <QThread>
#include <QWindow>

#include <QSignalBlocker>

#include <algorithm>
#include <cmath>
#include <map>

void VideoDialog::error(const QString &text)
{
    m_services.message(MessageIcon::Error, title(), text);
}

void VideoDialog::present()
{
    if (!m_source && !m_opener && !ouvrir_Click())
        return;
    escapeModal();
    show();
    raise();
    activateWindow();
}

void VideoDialog::escapeModal()
{
    // An application-modal window (the graph window) blocks every window
    // but its own transient children: this window becomes one of them.
    QWindow *modal = QGuiApplication::modalWindow();
    if (!windowHandle())
        winId(); // the window exists from now on, shown or not
    QWindow *own = windowHandle();
    if (!modal || !own || modal == own || own->isAncestorOf(modal, QWindow::IncludeTransients))
        return;
    own->setTransientParent(modal);
}

bool VideoDialog::ouvrir_Click()
{
    if (m_opener || m_thread)
        return false;
    FileDialogRequest request;
    request.title = QStringLiteral("Ouvrir une vidéo");
    request.filter = QStringLiteral(
        "Vidéos (*.mp4 *.m4v *.mov *.avi *.webm *.mkv *.3gp);;Tous les fichiers (*)");
    request.directory = m_folder;
    if (request.directory.isEmpty()) {
        // Never the program's working folder: the user's videos are theirs.
        request.directory = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (request.directory.isEmpty() || !QFileInfo(request.directory).isDir())
            request.directory = QDir::homePath();
    }
    const std::optional<QString> name = m_services.openFileName(request);
    if (!name)
        return false;
    m_folder = QFileInfo(*name).absolutePath();
    m_openingName = QFileInfo(*name).fileName();
    m_opener = new VideoOpener(*name, this);
    connect(m_opener, &VideoOpener::progress, progress, &QProgressBar::setValue);
    connect(m_opener, &QThread::finished, this, &VideoDialog::openingFinished);
    m_cancel = false;
    progress->setValue(0);
    setBusy(true);
    status->setText(QStringLiteral("Lecture de « %1 »…").arg(QFileInfo(*name).fileName()));
    m_opener->start();
    return true;
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
    m_folder = QFileInfo(path).absolutePath();
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
    const QString shown = fileLabel->fontMetrics().elidedText(
        name, Qt::ElideMiddle, fileLabel->parentWidget()->width() - 20);
    fileLabel->setText(QStringLiteral("%1\n%2 images, %3 × %4 px")
                           .arg(shown)
                           .arg(m_source->frameCount())
                           .arg(size.width())
                           .arg(size.height()));
    fileLabel->setToolTip(name);
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
    status->setText(CalibrationTexts::scaleStatus(0, distance->text()));
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
        } else {
            m_calibration.scaleEnd = point;
            m_scaleClicks = 2;
            if (distance->text().trimmed().isEmpty())
                distance->setFocus();
        }
        status->setText(CalibrationTexts::scaleStatus(m_scaleClicks, distance->text()));
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
        manualClick(point);
        break;
    }
}

void VideoDialog::setBusy(bool busy)
{
    if (busy)
        m_focusBeforeBusy = focusWidget();
    for (QWidget *w :
         std::initializer_list<QWidget *> {ouvrir, previous, next, slider, view, utiliser})
        w->setEnabled(!busy);
    for (QGroupBox *box : findChildren<QGroupBox *>())
        box->setEnabled(!busy);
    if (busy) {
        progress->show();
        annuler->show();
        annuler->setFocus();
        return;
    }
    // Focus goes back where it was (the picture, after a click on the ball)
    // before the stop button hides: left to itself, it would move on to the
    // next field and select its text, which the next key would overwrite.
    QWidget *back = m_focusBeforeBusy;
    if (!back || back == annuler || !back->isVisible() || !back->isEnabled())
        back = view;
    if (!focusWidget() || focusWidget() == annuler)
        back->setFocus(Qt::OtherFocusReason);
    progress->hide();
    annuler->hide();
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
    const std::optional<VideoScale> scale = videoScale(why);
    if (!scale)
        return {};
    std::map<int, TrackPoint> points = m_tracker->points();
    for (auto &[frame, point] : points)
        point.time = m_source->timeOf(frame);
    MeasurementSet set = toMeasurements(points, calibration, m_name);
    set.scale = *scale;
    return set;
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
