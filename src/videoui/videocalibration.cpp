// SPDX-License-Identifier: GPL-3.0-or-later
// The video dialog's calibration: the scale's distance, the tube's optics
// and the refraction factor they give, the capture rate, and the tracked
// ball's size offered as a check of the typed radius.
#include "videodialog.h"

#include "calibrationtexts.h"
#include "core/numberformat.h"
#include "measures/measurementholder.h"
#include "video/videofile.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <cmath>

namespace {

// A typed positive number, or NaN when the field is empty or not such a number.
double positive(const QLineEdit *edit)
{
    const std::optional<double> v = NumberFormat::parse(edit->text());
    return v && *v > 0.0 && std::isfinite(*v) ? *v : std::nan("");
}

} // namespace

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
    // The diameter stays open: the fit's wall correction needs it anyway.
    for (QLineEdit *edit : {index, indexU, cameraDistance, cameraDistanceU})
        edit->setEnabled(!immersed);
    m_calibration.refractionFactor = 1.0;
    QString text = CalibrationTexts::factorText(true, 1.0);
    if (!immersed) {
        const CalibrationTexts::TypedOptics typed = CalibrationTexts::readOptics(
            index->text(), tubeDiameter->text(), cameraDistance->text());
        if (!typed.problem.isEmpty()) {
            // Without the tube's optics no position is given: they would be off.
            m_calibration.refractionFactor = std::nan("");
            text = typed.problem;
        } else {
            m_calibration.refractionFactor
                = Refraction::scaleFactor(where, typed.optics, halfSpan());
            text = CalibrationTexts::factorText(false, m_calibration.refractionFactor);
        }
    }
    factor->setText(text);
    showBallSize();
    publishIfLinked();
    refresh();
}

double VideoDialog::halfSpan() const
{
    // The fall spans the picture's height, seen in the plane of the fall.
    Calibration plain = m_calibration;
    plain.refractionFactor = 1.0;
    if (!plain.isValid() || !m_source)
        return 0.0;
    return plain.metresPerPixel() * m_source->frameSize().height() / 2.0;
}

void VideoDialog::tubeTyped()
{
    m_holder.setTubeDiameter(tubeDiameter->text());
    calibrationChanged();
}

void VideoDialog::showTube()
{
    // The tube's u goes to η's budget from the session's inputs, not with
    // the points: nothing to hand over again.
    if (tubeDiameterU->text().trimmed() != m_holder.tubeUncertainty())
        tubeDiameterU->setText(m_holder.tubeUncertainty());
    if (tubeDiameter->text().trimmed() == m_holder.tubeDiameter())
        return;
    tubeDiameter->setText(m_holder.tubeDiameter());
    calibrationChanged();
}

void VideoDialog::showBallSize()
{
    if (!m_tracker || !(m_tracker->radius() > 0.0)) {
        ballSize->clear();
        return;
    }
    Calibration calibration = m_calibration;
    const double metresPerPixel
        = m_scaleClicks == 2 && calibration.isValid() ? calibration.metresPerPixel() : std::nan("");
    const std::optional<double> n = NumberFormat::parse(index->text());
    ballSize->setText(
        CalibrationTexts::ballSizeText(m_tracker->radius(), metresPerPixel, n ? *n : std::nan("")));
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
