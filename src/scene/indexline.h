// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

class DrawingSurface;
class ParameterFields;

// Line7, the index of the scene: a horizontal line the user drags with the
// left button over Picture2, and its read-out Label8, the position y in m of
// the line's row ("Index : y = 0,5 m"). Row 25 is the release point and row
// 475 the end of the fall, whatever the fall height.
//
// The line is a thin widget laid over the scene picture, so that moving it
// never redraws the scene; the scene reads y() to write the read-out at each
// refresh, and drawOn() puts the line into a copy of the scene's picture.
class IndexLine : public QObject
{
    Q_OBJECT

public:
    static constexpr int topY = 25;
    static constexpr int bottomY = 475;

    // picture2 is the widget showing the scene; the line becomes its child.
    // The fall height is read from fields each time the line moves.
    IndexLine(QWidget &picture2, const ParameterFields &fields);

    // Row of the line in scene pixels, within [25, 475].
    int y() const { return m_y; }
    bool isVisible() const { return m_visible; }
    QWidget *line7() const { return m_line; }

    // Label8's text for the current row; empty when the height cannot be read.
    QString readoutText() const;

    // Picture2_MouseDown: a left-button press moves the line to the pointer's row.
    void Picture2_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint position);
    // Picture2_MouseMove: with the left button held, the line follows the pointer.
    // Works whether the line is shown or not.
    void Picture2_MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, QPoint position);
    // Check4_Click: shows or hides the line and its read-out together.
    void Check4_Click(bool checked);

    // Moves the line to row y clamped to [25, 475] and tells the read-out.
    void moveTo(int y);
    // Draws the line, when shown, across a picture of the scene.
    void drawOn(DrawingSurface &surface) const;

    static int clampY(int y);

signals:
    // Label8 must show this text.
    void readoutChanged(const QString &text);
    // Label8 must be shown or hidden with the line.
    void visibilityChanged(bool visible);

protected:
    // Keeps the line as wide as the scene picture.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place();

    const ParameterFields &m_fields;
    // Deleted with the scene widget, possibly before this object.
    QPointer<QWidget> m_line;
    int m_y = topY;
    bool m_visible = true;
};
