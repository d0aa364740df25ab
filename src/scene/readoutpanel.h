// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/surfacewidget.h"

#include <QString>

class QLabel;

// Picture4, the grey panel of numeric read-outs beside the scene. The widget
// is the panel's inner area (293 x 85 pixels); the 2-pixel sunken border
// around it belongs to whoever places it. It holds the read-out labels
// Label3 (t), Label1 (y), Label6 (v), Label7 (a), whose texts the animation
// clock writes, and the index read-out Label8, hidden until the index line
// shows it. The labels have no background of their own, so the painted
// decoration shows through them.
class ReadoutPanel : public SurfaceWidget
{
    Q_OBJECT

public:
    static constexpr int innerWidth = 293;
    static constexpr int innerHeight = 85;

    explicit ReadoutPanel(QWidget *parent = nullptr);

    // appareil: paints bevel, metallic gradient, prefixes and units into the persistent
    // layer; run at every activation of the main window.
    void appareil();

    // Texts of Label3, Label1, Label6 and Label7.
    void setReadouts(const QString &t, const QString &y, const QString &v, const QString &a);
    // Text of Label8 ("Index : y = 0,5 m").
    void setIndexReadout(const QString &text);

    QLabel *label3() const { return m_label3; }
    QLabel *label1() const { return m_label1; }
    QLabel *label6() const { return m_label6; }
    QLabel *label7() const { return m_label7; }
    QLabel *label8() const { return m_label8; }

private:
    QLabel *m_label3 = nullptr;
    QLabel *m_label1 = nullptr;
    QLabel *m_label6 = nullptr;
    QLabel *m_label7 = nullptr;
    QLabel *m_label8 = nullptr;
};
