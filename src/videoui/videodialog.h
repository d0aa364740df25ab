// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "video/tracking/balltracker.h"
#include "video/tracking/calibration.h"
#include "video/tracking/refraction.h"

#include "measures/videoscale.h"

#include <QDialog>
#include <QPointer>

#include <atomic>
#include <memory>
#include <optional>

class FrameSource;
class FrameView;
class MeasurementHolder;
class PlatformServices;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QThread;
class OpenedVideo;
class VideoOpener;

// "Vidéo de la chute": a video of the fall becomes measured points. The user
// opens the video, steps through its frames, sets the scale (two points and
// their distance) and the origin, says where the scale lies so that the
// tube's refraction is corrected, then clicks the ball once: the tracker
// follows it through the frames. "Utiliser ces mesures" puts the tracked
// positions into the session's measured fall, which the measures dialog
// fits; from then on a change of the calibration or of the track updates it.
//
// The window is not modal: it stays open beside the others, which keep
// taking input. The tube's diameter is the session's (MeasurementHolder's
// tubeDiameter), shared with "Mesures".
class VideoDialog : public QDialog
{
    Q_OBJECT

public:
    enum class Mode { Scale, Origin, Ball, Manual };

    VideoDialog(MeasurementHolder &holder, PlatformServices &services, QWidget *parent = nullptr);
    ~VideoDialog() override;

    static QString title() { return QStringLiteral("Vidéo de la chute"); }

    // Shows the window beside the others, not modal, and brings it to the
    // front. With no video yet, the file dialog comes first: the window
    // opens with the chosen video being read, or not at all when the choice
    // is cancelled.
    void present();
    // "Ouvrir une vidéo…": the file the user picks, read on a thread of its
    // own. The file dialog opens in the folder of the last video, at first
    // in the user's documents. False when the choice is cancelled.
    bool ouvrir_Click();
    // Opens a video at once (the command line, tests); false with the French
    // message shown when it cannot be read. The previous video stays then.
    bool openVideo(const QString &path);
    // Takes any source of frames (tests draw their own).
    void setSource(std::unique_ptr<FrameSource> source, const QString &name);

    void showFrame(int frame);
    int currentFrame() const { return m_frame; }
    void setMode(Mode mode);
    Mode mode() const { return m_mode; }
    // A click on the picture, in picture pixels: what it does depends on the mode.
    void pictureClicked(QPointF point);
    // Waits for the tracking started by a click on the ball (tests, command).
    void waitForTracking();
    bool isTracking() const { return m_thread != nullptr; }

    // "Utiliser ces mesures".
    void utiliser_Click();

    const Calibration &calibration() const { return m_calibration; }
    const BallTracker *tracker() const { return m_tracker.get(); }
    double refractionFactor() const;

    FrameView *view = nullptr;
    QPushButton *ouvrir = nullptr;
    QLabel *fileLabel = nullptr;
    QProgressBar *progress = nullptr;
    QPushButton *annuler = nullptr;
    QPushButton *previous = nullptr;
    QSlider *slider = nullptr;
    QPushButton *next = nullptr;
    QLabel *frameLabel = nullptr;
    QLineEdit *captureRate = nullptr;
    QLineEdit *captureRateU = nullptr;
    QLabel *warning = nullptr;
    QRadioButton *modeScale = nullptr;
    QRadioButton *modeOrigin = nullptr;
    QRadioButton *modeBall = nullptr;
    QRadioButton *modeManual = nullptr;
    QLineEdit *distance = nullptr; // cm
    QComboBox *placement = nullptr;
    QLineEdit *index = nullptr;
    QLineEdit *tubeDiameter = nullptr;   // mm, inner
    QLineEdit *cameraDistance = nullptr; // cm
    // The "±" fields: the standard uncertainty of the value beside them
    // (in its unit unless one is typed, "a/√3" for a half-width); clickU is
    // each click's along the scale, in px. Empty: exact. tubeDiameterU is
    // the session's, shared with "Mesures" as the diameter is.
    QLineEdit *distanceU = nullptr;
    QLineEdit *clickU = nullptr;
    QLineEdit *indexU = nullptr;
    QLineEdit *tubeDiameterU = nullptr;
    QLineEdit *cameraDistanceU = nullptr;
    QLabel *factor = nullptr;
    QSpinBox *manualStep = nullptr; // images between two manual clicks
    QLabel *ballSize = nullptr;     // the tracked ball's apparent radius
    QLabel *status = nullptr;
    QPushButton *utiliser = nullptr;
    QPushButton *fermer = nullptr;

signals:
    void trackingFinished();

private:
    QWidget *createNavigation();
    QWidget *createCalibration();
    QWidget *createTracking();
    void adoptSource(std::unique_ptr<FrameSource> source, OpenedVideo *video, const QString &name);
    void openingFinished();
    void calibrationChanged();
    void captureRateChanged();
    void startTracking(QPointF point);
    void trackingDone();
    void setBusy(bool busy);
    void tubeTyped();
    void showTube();
    // The "±" fields (videouncertainty.cpp): made with their help texts;
    // read into the scale handed over with the points, or nothing with the
    // French reason; a typed one updates the points handed over.
    void createUncertaintyFields();
    std::optional<VideoScale> videoScale(QString *why) const;
    void uncertaintyTyped();
    // Half the height the picture spans in the plane of the fall (m), the
    // span the refraction factor is traced over; 0 while the scale is not placed.
    double halfSpan() const;
    void manualClick(QPointF point);
    void showBallSize();
    // Makes the window a transient child of the application-modal window on
    // screen, if any, so that the window takes input beside it.
    void escapeModal();
    void refresh();
    void publishIfLinked();
    // The track with each point's time read again from the source (the
    // capture rate may have changed since it was tracked).
    MeasurementSet measurements(QString *why) const;
    void error(const QString &text);

    MeasurementHolder &m_holder;
    PlatformServices &m_services;
    std::unique_ptr<FrameSource> m_source;
    OpenedVideo *m_video = nullptr; // m_source when it is a video file
    QString m_name;
    VideoOpener *m_opener = nullptr;
    QString m_openingName;               // the file being opened, for the label
    QString m_folder;                    // of the last video chosen; empty: the user's documents
    QPointer<QWidget> m_focusBeforeBusy; // given back when reading or tracking ends
    int m_frame = 0;
    Mode m_mode = Mode::Scale;
    Calibration m_calibration;
    int m_scaleClicks = 0; // 0, 1 or 2 ends of the scale placed
    bool m_hasOrigin = false;
    std::unique_ptr<BallTracker> m_tracker;
    QThread *m_thread = nullptr;
    std::atomic_bool m_cancel = false;
    bool m_linked = false; // the holder shows this track: keep it up to date
};
