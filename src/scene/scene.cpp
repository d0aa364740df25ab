// SPDX-License-Identifier: GPL-3.0-or-later
#include "scene.h"

#include "sceneinputs.h"

#include "core/displayoptions.h"
#include "core/numberformat.h"
#include "core/parameterfields.h"
#include "core/simulationstate.h"
#include "platform/drawingsurface.h"
#include "platform/palette.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Nearest integer, a half going to the even neighbour (the default rounding
// mode), clamped to the 16 bits the scene keeps its pixel positions in: a
// value beyond them is far outside the picture anyway.
std::optional<qint16> toPixel16(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value);
    return qint16(std::clamp(rounded, double(std::numeric_limits<qint16>::min()),
                             double(std::numeric_limits<qint16>::max())));
}

std::optional<float> fieldValue(const SceneInputs &inputs, int index)
{
    return NumberFormat::parseSingle(inputs.fields.text(index));
}

constexpr int gradientTop[] = {155, 200};  // red and green of the first row
constexpr int gradientRange[] = {100, 50}; // what they gain down to the last row
constexpr int rulerRight = 85;             // labels end on this column

} // namespace

Scene::Scene(DrawingSurface &picture2, const SceneInputs &inputs)
    : m_picture2(picture2)
    , m_inputs(inputs)
{ }

std::optional<qint16> Scene::centreY(float ypos, float h)
{
    if (h == 0.0f)
        return std::nullopt;
    return toPixel16(double(ypos) / double(h) * fallPixels + releaseY);
}

std::optional<qint16> Scene::sphereRadius(float radiusCm, float h)
{
    if (h == 0.0f)
        return std::nullopt;
    const std::optional<qint16> rs = toPixel16(double(radiusCm) / (double(h) * 100.0) * fallPixels);
    if (!rs)
        return std::nullopt;
    return std::max<qint16>(*rs, minimumRadius);
}

QString Scene::indexReadoutText(float h, int lineY)
{
    const QString value
        = NumberFormat::threeSignificant(double(h) / fallPixels * (lineY - releaseY));
    if (value.isEmpty())
        return QString();
    return QStringLiteral("Index : y = ") + value + QStringLiteral(" m");
}

QString Scene::rulerLabel(float h, int u)
{
    return NumberFormat::generalSingle(h * float(u) / 10.0f);
}

DrawingSurface &Scene::surface()
{
    return m_picture2;
}

void Scene::changed()
{
    if (m_changed)
        m_changed();
}

void Scene::fond()
{
    DrawingSurface &s = surface();
    s.clearBackgroundPicture();
    s.clear();
    // The gradient depends on nothing but the size of the picture, so it is
    // painted once and copied from the cache afterwards.
    if (m_image3.isNull() || m_image3.size() != s.image().size()) {
        const int rows = s.height();
        for (int i = 0; rows > 0 && i <= rows; ++i) {
            const double f = double(i) / rows;
            const QColor colour(int(std::nearbyint(gradientTop[0] + gradientRange[0] * f)),
                                int(std::nearbyint(gradientTop[1] + gradientRange[1] * f)), 255);
            s.line(0, i, s.width(), i, colour);
        }
        m_image3 = s.image();
    } else {
        s.setBackgroundPicture(m_image3);
        s.clear();
    }
    s.setDrawWidth(1);
    s.persist();
    changed();
}

void Scene::majaff()
{
    ++m_majaffCount;
    DrawingSurface &s = surface();
    const SimulationState &state = m_inputs.state;
    const std::optional<float> h = fieldValue(m_inputs, ParameterFields::Height);

    // 1. Back to the gradient and the recorded marks.
    s.clear();

    // 2. Sphere centre.
    if (h) {
        if (const std::optional<qint16> ys = centreY(state.ypos, *h))
            m_ys = *ys;
    }

    // 3. Index read-out, h / 450 m per pixel below the release point.
    if (m_indexReadout && h) {
        const QString text = indexReadoutText(*h, m_inputs.indexLineY());
        if (!text.isEmpty())
            m_indexReadout(text);
    }

    // 4. Sphere radius, to the scale of the fall height.
    if (const std::optional<float> radius = fieldValue(m_inputs, ParameterFields::Radius);
        radius && h) {
        if (const std::optional<qint16> rs = sphereRadius(*radius, *h))
            m_rs = *rs;
    }
    m_rs = std::max<qint16>(m_rs, minimumRadius);

    // 5. A centre-of-inertia mark goes into the persistent layer before the
    // live sphere is drawn over it.
    const bool markDue = m_inputs.markDue();
    const bool keepVectors = m_inputs.options.keepVectorsOnMarks;
    if (markDue && m_inputs.options.crossMarks) {
        drawMarkCross();
        if (keepVectors && m_lesvecteurs)
            m_lesvecteurs(centreX, m_ys);
        s.persist();
        s.setDrawWidth(1);
    }

    // 6. The shaded sphere.
    drawSphere();

    // 7. A whole-sphere mark: the sphere just drawn becomes part of the background.
    if (markDue && !m_inputs.options.crossMarks) {
        if (keepVectors && m_lesvecteurs)
            m_lesvecteurs(centreX, m_ys);
        s.persist();
    }

    // 8. The vectors of the current state, transient.
    if (m_lesvecteurs)
        m_lesvecteurs(centreX, m_ys);

    // 9. Text settings of the ruler and the axis.
    s.setFontName(QStringLiteral("Arial"));
    s.setFontSize(8);
    s.setFontBold(false);
    s.setForeColor(Qt::black);

    // 10, 11. Drawn over the sphere, never persisted.
    if (m_inputs.options.showRuler)
        drawRuler(h);
    if (m_inputs.options.showAxis)
        drawAxis();

    // 12.
    if (m_tracegraphe)
        m_tracegraphe();
    changed();
}

void Scene::drawMarkCross()
{
    DrawingSurface &s = m_picture2;
    const QColor colour = colourFromStored(m_inputs.options.colours[DisplayOptions::MarkColour]);
    s.setDrawWidth(2);
    s.line(centreX - 3, m_ys, centreX + 3, m_ys, colour);
    s.line(centreX, m_ys - 3, centreX, m_ys + 3, colour);
}

void Scene::drawSphere()
{
    DrawingSurface &s = m_picture2;
    // Eleven discs that shrink, lighten from grey 175 to white and slide
    // towards the upper left: the highlight. Then the black outline. The
    // discs keep their fractional centres and radii: rounded, successive
    // discs of a small sphere would coincide and hide half of the greys.
    const double rs = m_rs;
    for (int b = 0; b <= 10; ++b) {
        const int level = 175 + 8 * b;
        const double shift = 0.02 * b * rs;
        s.disc(centreX - shift, m_ys - shift, rs / (1.0 + 0.1 * b), QColor(level, level, level));
    }
    s.setFillStyle(DrawingSurface::FillStyle::Transparent);
    s.circle(centreX, m_ys, rs, Qt::black);
}

void Scene::updateRulerLabels(float h)
{
    if (m_rulerHeight == h)
        return;
    const DrawingSurface &s = m_picture2;
    for (int u = 0; u <= 10; ++u) {
        m_rulerLabels[u].text = rulerLabel(h, u);
        m_rulerLabels[u].width = s.textWidth(m_rulerLabels[u].text);
    }
    m_rulerHeight = h;
}

void Scene::drawRuler(const std::optional<float> &h)
{
    DrawingSurface &s = m_picture2;
    if (h)
        updateRulerLabels(*h);
    // Major ticks every tenth of the height (45 pixels), with their labels.
    for (int u = 0; u <= 10; ++u) {
        const int y = releaseY + 45 * u;
        s.line(10, y, 30, y, Qt::black);
        s.line(90, y, 100, y, Qt::black);
        if (h) {
            s.setCurrentPoint(rulerRight - m_rulerLabels[u].width, 45 * u + 19);
            s.print(m_rulerLabels[u].text);
        }
    }
    // Minor ticks every fiftieth (9 pixels).
    for (int a = 0; a <= 50; ++a) {
        if (a % 5 == 0)
            continue;
        const int y = releaseY + 9 * a;
        s.line(10, y, 20, y, Qt::black);
        s.line(90, y, 100, y, Qt::black);
    }
}

void Scene::drawAxis()
{
    DrawingSurface &s = m_picture2;
    // Pointing downwards, the direction of the fall.
    s.line(10, 25, 10, 490, Qt::black);
    s.line(7, 25, 13, 25, Qt::black);
    s.line(7, 484, 10, 490, Qt::black);
    s.line(13, 484, 10, 490, Qt::black);
    s.setCurrentPoint(7, 10);
    s.print(QStringLiteral("O"));
    s.setCurrentPoint(18, 477);
    s.print(QStringLiteral("y"));
}
