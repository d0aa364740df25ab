// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QWidget>

#include <vector>

// Where a picture of a given size sits in a view: scaled to fit, its aspect
// kept, centred. Picture coordinates are those of the tracker (pixel (i, j)
// has its centre at (i + 0,5, j + 0,5)).
struct FrameGeometry
{
    QRectF target; // the picture's rectangle in the view, in view pixels

    static FrameGeometry fit(QSize picture, QSizeF view);
    double scale(QSize picture) const;
    QPointF toPicture(QPointF viewPoint, QSize picture) const;
    QPointF toView(QPointF picturePoint, QSize picture) const;
};

// What is drawn over the frame, all in picture pixels.
struct FrameOverlay
{
    bool hasScaleStart = false;
    bool hasScaleEnd = false;
    QPointF scaleStart;
    QPointF scaleEnd;
    QString scaleText; // "10 cm", by the middle of the scale
    bool hasOrigin = false;
    QPointF origin;
    QPointF axis {0.0, 1.0};   // the fall axis, drawn as an arrow from the origin
    std::vector<QPointF> path; // every tracked centre, as dots
    bool hasCentre = false;
    QPointF centre; // the ball's centre in the frame shown, as a cross
};

// The frame of a video with the calibration and the track drawn over it.
// A click on the picture gives its point in picture pixels. From the
// keyboard, a cross-hair cursor moves with the arrow keys (Maj: ten times
// further) and Entrée or Espace clicks where it stands.
class FrameView : public QWidget
{
    Q_OBJECT

public:
    explicit FrameView(QWidget *parent = nullptr);

    void setPicture(const QImage &picture);
    const QImage &picture() const { return m_picture; }
    void setOverlay(const FrameOverlay &overlay);
    const FrameOverlay &overlay() const { return m_overlay; }

    QPointF cursor() const { return m_cursor; }
    void setCursor(QPointF picturePoint);
    FrameGeometry geometryNow() const;

    QSize sizeHint() const override { return {360, 480}; }
    QSize minimumSizeHint() const override { return {160, 160}; }

signals:
    void pictureClicked(QPointF picturePoint);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void clampCursor();

    QImage m_picture;
    FrameOverlay m_overlay;
    QPointF m_cursor {-1.0, -1.0};
};
