// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <optional>

class DrawingSurface;
struct SceneInputs;

// The animated picture of the fall, drawn on the scene picture Picture2 of the
// main window (inner area 109 x 493 pixels, y downwards). The surface keeps
// two layers: the persistent one holds the fluid gradient and the
// chronophotography marks, the transient one the sphere, the vectors, the
// ruler and the axis of the current refresh.
//
// Geometry: the release point (y = 0 m) is at pixel row 25 and the end of the
// fall (y = h) at row 475, whatever h is; the sphere's centre is on x = 55 and
// it is drawn to the same scale. All on the user-interface thread.
class Scene
{
public:
    static constexpr int releaseY = 25;
    static constexpr int fallPixels = 450;
    static constexpr int centreX = 55;
    static constexpr int minimumRadius = 2;

    // picture2 is the scene's surface (the widget Picture2 shows it, printing
    // and the clipboard read it); both references outlive the scene.
    Scene(DrawingSurface &picture2, const SceneInputs &inputs);

    // Run after each drawing, so that whatever shows the surface repaints.
    void setChanged(std::function<void()> hook) { m_changed = std::move(hook); }

    // fond: makes the bare fluid gradient the persistent layer, discarding every mark;
    // run by "Effacer" (so after each validated height) and the friction colour choice.
    void fond();

    // majaff: redraws sphere, vectors, ruler and axis for ypos, R, h and the options,
    // freezing a due mark first, then tracegraphe; run at every tick and option change.
    // A step that cannot be computed is skipped and the others still run.
    void majaff();

    // lesvecteurs(gx, gy): draws the enabled vectors from the sphere's centre;
    // called at most twice per refresh (frozen with a mark, then live).
    void setLesvecteurs(std::function<void(int gx, int gy)> hook)
    {
        m_lesvecteurs = std::move(hook);
    }
    // tracegraphe: extends the small graph; called last by majaff.
    void setTracegraphe(std::function<void()> hook) { m_tracegraphe = std::move(hook); }
    // Receives the text of the index read-out Label8 at each refresh.
    void setIndexReadout(std::function<void(const QString &)> hook)
    {
        m_indexReadout = std::move(hook);
    }

    // Sphere centre and radius of the last refresh, in pixels.
    int sphereY() const { return m_ys; }
    int sphereRadiusPixels() const { return m_rs; }
    // How many times majaff has run: a cheap way to check that a sequence
    // of resets (the start-up) draws the scene once.
    int majaffCount() const { return m_majaffCount; }
    // The gradient cache Image3; null until the first fond.
    const QImage &image3() const { return m_image3; }

    // Pixel row of the sphere's centre, round(ypos / h * 450 + 25) with a
    // half going to the even neighbour, clamped to 16 bits. Nothing when h is
    // 0 or the result is not finite.
    static std::optional<qint16> centreY(float ypos, float h);
    // Sphere radius in pixels for a radius in cm and a fall height in m,
    // round(R / (h * 100) * 450), at least 2 and clamped to 16 bits. Nothing
    // when h is 0 or the result is not finite.
    static std::optional<qint16> sphereRadius(float radiusCm, float h);
    // "Index : y = " + the height of pixel row lineY in m, three significant
    // digits + " m"; empty when it cannot be computed.
    static QString indexReadoutText(float h, int lineY);
    // Label of the major ruler tick u (0..10) for a fall height h: h * u / 10
    // in the general form.
    static QString rulerLabel(float h, int u);

private:
    DrawingSurface &surface();
    void changed();
    void drawMarkCross();
    void drawSphere();
    void drawRuler(const std::optional<float> &h);
    void drawAxis();
    void updateRulerLabels(float h);

    DrawingSurface &m_picture2;
    const SceneInputs &m_inputs;
    QImage m_image3;
    // Kept from one refresh to the next: a step that fails leaves its value.
    qint16 m_ys = releaseY;
    qint16 m_rs = minimumRadius;

    // The ruler labels depend only on h: formatted and measured once per height.
    struct RulerLabel
    {
        QString text;
        int width = 0;
    };
    RulerLabel m_rulerLabels[11];
    std::optional<float> m_rulerHeight;

    std::function<void()> m_changed;
    std::function<void(int, int)> m_lesvecteurs;
    std::function<void()> m_tracegraphe;
    std::function<void(const QString &)> m_indexReadout;
    int m_majaffCount = 0;
};
