// SPDX-License-Identifier: GPL-3.0-or-later
#include "scene/scene.h"
#include "scene/sceneinputs.h"

#include "core/numberformat.h"
#include "core/simulationstate.h"
#include "platform/palette.h"
#include "support/scenerig.h"

#include <QtTest>

#include <limits>

namespace {

const QRgb black = qRgb(0, 0, 0);
const QRgb magenta = qRgb(255, 0, 255);
const QRgb red = qRgb(255, 0, 0);

bool isGrey(QRgb c)
{
    return qRed(c) == qGreen(c) && qGreen(c) == qBlue(c);
}

// Columns of row band [top, bottom) where the picture differs from its background.
QList<int> drawnColumns(const DrawingSurface &s, int top, int bottom, int left, int right)
{
    QList<int> columns;
    for (int x = left; x <= right; ++x) {
        for (int y = top; y < bottom; ++y) {
            if (s.image().pixel(x, y) != s.backgroundPicture().pixel(x, y)) {
                columns << x;
                break;
            }
        }
    }
    return columns;
}

} // namespace

class TestScene : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void gradient();
    void centre_data();
    void centre();
    void radius_data();
    void radius();
    void smallestSphere();
    void sphereBiggerThanTheScene();
    void shading();
    void shadingRings_data();
    void shadingRings();
    void everyGreyShows_data();
    void everyGreyShows();
    void rulerLabels_data();
    void rulerLabels();
    void rulerTicksAndLabelPlaces();
    void axis();
    void optionsOffRemoveRulerAndAxis();
    void crossMarkStays();
    void vectorsFrozenOnlyWhenAsked();
    void fondErasesMarks();
    void hookOrder();
    void indexReadout();
    void unreadableFieldsSkipSteps();

private:
    DrawingSurface *m_picture2 = nullptr;
    FakeSceneInputs *m_inputs = nullptr;
    Scene *m_scene = nullptr;
    DrawingSurface &surface() { return *m_picture2; }
    QRgb pixel(int x, int y) { return surface().image().pixel(x, y); }
    QRgb gradientAt(int x, int y) { return m_scene->image3().pixel(x, y); }
};

void TestScene::init()
{
    m_picture2 = new DrawingSurface(109, 493);
    m_inputs = new FakeSceneInputs;
    m_scene = new Scene(*m_picture2, m_inputs->inputs);
    m_scene->fond();
}

void TestScene::cleanup()
{
    delete m_scene;
    delete m_inputs;
    delete m_picture2;
}

void TestScene::gradient()
{
    // Every row one colour from (155, 200, 255) to (255, 250, 255).
    QCOMPARE(surface().image().size(), QSize(109, 493));
    for (int x : {0, 54, 108}) {
        QCOMPARE(pixel(x, 0), qRgb(155, 200, 255));
        QCOMPARE(pixel(x, 246), qRgb(205, 225, 255));
        QCOMPARE(pixel(x, 492), qRgb(255, 250, 255));
    }
    QCOMPARE(surface().backgroundPicture(), surface().image());
    QCOMPARE(m_scene->image3(), surface().image());

    // The second time it comes from the cache, the same.
    const QImage first = surface().image();
    m_scene->majaff();
    m_scene->fond();
    QCOMPARE(surface().image(), first);
}

void TestScene::centre_data()
{
    QTest::addColumn<float>("ypos");
    QTest::addColumn<float>("h");
    QTest::addColumn<int>("ys");
    QTest::newRow("top, 0,1 m") << 0.0f << 0.1f << 25;
    QTest::newRow("bottom, 0,1 m") << 0.1f << 0.1f << 475;
    QTest::newRow("bottom, 0,3 m") << 0.3f << 0.3f << 475;
    QTest::newRow("bottom, 2000 m") << 2000.0f << 2000.0f << 475;
    QTest::newRow("half goes down to even") << 0.25f << 1.0f << 138; // 137,5
    QTest::newRow("half goes up to even") << 0.75f << 1.0f << 362;   // 362,5
    QTest::newRow("clamped high") << 1e30f << 0.1f << 32767;
    QTest::newRow("clamped low") << -1e30f << 0.1f << -32768;
}

void TestScene::centre()
{
    QFETCH(float, ypos);
    QFETCH(float, h);
    QFETCH(int, ys);
    QCOMPARE(Scene::centreY(ypos, h), std::optional<qint16>(qint16(ys)));
}

void TestScene::radius_data()
{
    QTest::addColumn<float>("radius");
    QTest::addColumn<float>("h");
    QTest::addColumn<int>("rs");
    QTest::newRow("defaults") << 3.5f << 1.0f << 16;              // 15,75
    QTest::newRow("half goes down to even") << 1.0f << 1.0f << 4; // 4,5
    QTest::newRow("half goes up to even") << 3.0f << 1.0f << 14;  // 13,5
    QTest::newRow("floor of 2 pixels") << 0.5f << 2000.0f << 2;
    QTest::newRow("bigger than the fall") << 50.0f << 0.1f << 2250;
    QTest::newRow("clamped") << 1e30f << 1e-30f << 32767;
}

void TestScene::radius()
{
    QFETCH(float, radius);
    QFETCH(float, h);
    QFETCH(int, rs);
    QCOMPARE(Scene::sphereRadius(radius, h), std::optional<qint16>(qint16(rs)));
}

void TestScene::smallestSphere()
{
    m_inputs->parameters.texts[ParameterFields::Radius] = QStringLiteral("0,5");
    m_inputs->parameters.texts[ParameterFields::Height] = QStringLiteral("2000");
    m_inputs->simulation.ypos = 1000.0f;
    m_scene->majaff();
    QCOMPARE(m_scene->sphereRadiusPixels(), 2);
    QCOMPARE(m_scene->sphereY(), 250);
    for (QPoint p : {QPoint(57, 250), QPoint(53, 250), QPoint(55, 248), QPoint(55, 252)})
        QCOMPARE(pixel(p.x(), p.y()), black);
    QCOMPARE(pixel(60, 250), gradientAt(60, 250));
}

void TestScene::sphereBiggerThanTheScene()
{
    m_inputs->parameters.texts[ParameterFields::Radius] = QStringLiteral("50");
    m_inputs->parameters.texts[ParameterFields::Height] = QStringLiteral("0,1");
    m_inputs->options.showRuler = false;
    m_inputs->options.showAxis = false;
    m_scene->majaff();
    QCOMPARE(m_scene->sphereRadiusPixels(), 2250);
    const QImage &image = surface().image();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!isGrey(image.pixel(x, y)))
                QFAIL(qPrintable(QStringLiteral("fluid shows at (%1, %2)").arg(x).arg(y)));
        }
    }

    // Absurd sizes are clamped and still drawn in reasonable time.
    m_inputs->parameters.texts[ParameterFields::Radius] = QStringLiteral("1E+30");
    m_inputs->parameters.texts[ParameterFields::Height] = QStringLiteral("1E-30");
    m_inputs->simulation.ypos = 1e-30f;
    m_scene->majaff();
    QCOMPARE(m_scene->sphereRadiusPixels(), 32767);
    QCOMPARE(m_scene->sphereY(), 475);
}

void TestScene::shading()
{
    // Defaults: centre (55, 25), radius 16. The highlight is up and left.
    m_inputs->options.showRuler = false;
    m_inputs->options.showAxis = false;
    m_scene->majaff();
    for (QPoint p : {QPoint(71, 25), QPoint(39, 25), QPoint(55, 9), QPoint(55, 41)})
        QCOMPARE(pixel(p.x(), p.y()), black);
    QCOMPARE(pixel(52, 22), qRgb(255, 255, 255));
    const QRgb lowerRight = pixel(66, 36);
    QVERIFY(isGrey(lowerRight));
    QVERIFY(qRed(lowerRight) >= 175 && qRed(lowerRight) < 200);
    QCOMPARE(pixel(75, 25), gradientAt(75, 25));
}

void TestScene::shadingRings_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<int>("grey");

    // Defaults: centre (55, 25), radius 16. Across the centre, left to right...
    QTest::newRow("left rim") << QPoint(40, 25) << 175;
    QTest::newRow("left, 14") << QPoint(41, 25) << 183;
    QTest::newRow("left, 13") << QPoint(42, 25) << 199;
    QTest::newRow("left, 12") << QPoint(43, 25) << 215;
    QTest::newRow("left, 11") << QPoint(44, 25) << 239;
    QTest::newRow("highlight") << QPoint(52, 22) << 255;
    QTest::newRow("right, 5") << QPoint(60, 25) << 247;
    QTest::newRow("right, 6") << QPoint(61, 25) << 231;
    QTest::newRow("right, 7") << QPoint(62, 25) << 223;
    QTest::newRow("right, 9") << QPoint(64, 25) << 207;
    QTest::newRow("right, 12") << QPoint(67, 25) << 191;
    QTest::newRow("right, 14") << QPoint(69, 25) << 183;
    QTest::newRow("right rim") << QPoint(70, 25) << 175;
    // ...and down the diagonal to the lower right.
    QTest::newRow("diagonal, 3") << QPoint(58, 28) << 247;
    QTest::newRow("diagonal, 6") << QPoint(61, 31) << 207;
    QTest::newRow("diagonal, 8") << QPoint(63, 33) << 191;
    QTest::newRow("diagonal, 10") << QPoint(65, 35) << 175;
}

void TestScene::shadingRings()
{
    QFETCH(QPoint, at);
    QFETCH(int, grey);

    m_inputs->options.showRuler = false;
    m_inputs->options.showAxis = false;
    m_scene->majaff();
    QCOMPARE(QColor(pixel(at.x(), at.y())), QColor(grey, grey, grey));
}

void TestScene::everyGreyShows_data()
{
    QTest::addColumn<QString>("radius");
    QTest::addColumn<int>("fewest"); // pixels of the least visible grey

    QTest::newRow("defaults, 16 pixels") << QStringLiteral("3,5") << 20;
    QTest::newRow("45 pixels") << QStringLiteral("10") << 150;
}

void TestScene::everyGreyShows()
{
    QFETCH(QString, radius);
    QFETCH(int, fewest);

    m_inputs->parameters.texts[ParameterFields::Radius] = radius;
    m_inputs->simulation.ypos = 0.5f; // centre at y = 250
    m_inputs->options.showRuler = false;
    m_inputs->options.showAxis = false;
    m_scene->majaff();
    QHash<int, int> count;
    const QImage &image = surface().image();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (isGrey(image.pixel(x, y)))
                ++count[qRed(image.pixel(x, y))];
        }
    }
    for (int b = 0; b <= 10; ++b) {
        const int grey = 175 + 8 * b;
        QVERIFY2(count.value(grey) >= fewest,
                 qPrintable(QStringLiteral("grey %1: %2 pixels").arg(grey).arg(count.value(grey))));
    }
    // The darkest ring, all round the sphere.
    QVERIFY(count.value(175) >= 4 * fewest);
}

void TestScene::rulerLabels_data()
{
    QTest::addColumn<float>("h");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("1 m") << 1.0f << QStringList {QStringLiteral("0"),   QStringLiteral("0,1"),
                                                 QStringLiteral("0,2"), QStringLiteral("0,3"),
                                                 QStringLiteral("0,4"), QStringLiteral("0,5"),
                                                 QStringLiteral("0,6"), QStringLiteral("0,7"),
                                                 QStringLiteral("0,8"), QStringLiteral("0,9"),
                                                 QStringLiteral("1")};
    QTest::newRow("2000 m") << 2000.0f
                            << QStringList {QStringLiteral("0"),    QStringLiteral("200"),
                                            QStringLiteral("400"),  QStringLiteral("600"),
                                            QStringLiteral("800"),  QStringLiteral("1000"),
                                            QStringLiteral("1200"), QStringLiteral("1400"),
                                            QStringLiteral("1600"), QStringLiteral("1800"),
                                            QStringLiteral("2000")};
    QTest::newRow("0,3 m") << 0.3f << QStringList {QStringLiteral("0"),    QStringLiteral("0,03"),
                                                   QStringLiteral("0,06"), QStringLiteral("0,09"),
                                                   QStringLiteral("0,12"), QStringLiteral("0,15"),
                                                   QStringLiteral("0,18"), QStringLiteral("0,21"),
                                                   QStringLiteral("0,24"), QStringLiteral("0,27"),
                                                   QStringLiteral("0,3")};
}

void TestScene::rulerLabels()
{
    QFETCH(float, h);
    QFETCH(QStringList, labels);
    for (int u = 0; u <= 10; ++u)
        QCOMPARE(Scene::rulerLabel(h, u), labels.at(u));
}

void TestScene::rulerTicksAndLabelPlaces()
{
    m_inputs->options.showAxis = false;
    m_inputs->parameters.texts[ParameterFields::Height] = QStringLiteral("2000");
    m_inputs->simulation.ypos = 2000.0f; // sphere out of the way at the bottom
    m_scene->majaff();
    for (int u = 0; u <= 10; ++u) {
        const int y = 25 + 45 * u;
        for (int x : {10, 29, 90, 99})
            QCOMPARE(pixel(x, y), black);
        // A segment stops short of its last point.
        QCOMPARE(pixel(30, y), gradientAt(30, y));
        QCOMPARE(pixel(100, y), gradientAt(100, y));
    }
    for (int a = 1; a < 50; ++a) {
        const int y = 25 + 9 * a;
        if (a % 5 == 0)
            continue;
        QCOMPARE(pixel(19, y), black);
        QCOMPARE(pixel(20, y), gradientAt(20, y));
        QCOMPARE(pixel(95, y), black);
    }
    // Labels are right-aligned on x = 85 with their top at 45u + 19; "2000"
    // is wider than "200".
    const QList<int> thousands = drawnColumns(surface(), 19 + 450, 19 + 450 + 11, 31, 89);
    const QList<int> hundreds = drawnColumns(surface(), 19 + 45, 19 + 45 + 11, 31, 89);
    QVERIFY(!thousands.isEmpty() && !hundreds.isEmpty());
    QVERIFY2(thousands.last() >= 80 && thousands.last() <= 84,
             qPrintable(QString::number(thousands.last())));
    QVERIFY2(hundreds.last() >= 80 && hundreds.last() <= 84,
             qPrintable(QString::number(hundreds.last())));
    QVERIFY(thousands.first() < hundreds.first());
}

void TestScene::axis()
{
    m_inputs->options.showRuler = false;
    m_scene->majaff();
    for (int y : {26, 100, 250, 489})
        QCOMPARE(pixel(10, y), black);
    for (int x : {7, 12})
        QCOMPARE(pixel(x, 25), black);
    for (QPoint p : {QPoint(7, 484), QPoint(13, 484), QPoint(8, 486), QPoint(12, 486)})
        QCOMPARE(pixel(p.x(), p.y()), black);
    QCOMPARE(pixel(6, 484), gradientAt(6, 484));
    QVERIFY(!drawnColumns(surface(), 10, 23, 5, 17).isEmpty());    // "O"
    QVERIFY(!drawnColumns(surface(), 477, 490, 17, 28).isEmpty()); // "y"
}

void TestScene::optionsOffRemoveRulerAndAxis()
{
    m_scene->majaff();
    QCOMPARE(pixel(10, 250), black);
    QCOMPARE(pixel(95, 250), black);
    m_inputs->options.showAxis = false;
    m_scene->majaff();
    QCOMPARE(pixel(10, 250), black); // the ruler's tick at 25 + 45 * 5
    QCOMPARE(pixel(10, 251), gradientAt(10, 251));
    m_inputs->options.showRuler = false;
    m_scene->majaff();
    QCOMPARE(pixel(10, 250), gradientAt(10, 250));
    QCOMPARE(pixel(95, 250), gradientAt(95, 250));
    // Neither ever reaches the persistent layer.
    QCOMPARE(surface().backgroundPicture(), m_scene->image3());
}

void TestScene::crossMarkStays()
{
    m_inputs->options.crossMarks = true;
    m_inputs->marque = true;
    m_inputs->options.showAxis = false;
    m_inputs->options.showRuler = false;
    m_inputs->simulation.ypos = 0.5f; // ys = 250
    m_scene->majaff();
    // The sphere is drawn over the cross at once...
    QVERIFY(isGrey(pixel(52, 250)));
    m_inputs->marque = false;
    m_inputs->simulation.ypos = 1.0f;
    m_scene->majaff();
    // ...which stays when the sphere has gone: 2 pixels wide, x 52..57 and y 247..252.
    for (QPoint p : {QPoint(52, 250), QPoint(57, 251), QPoint(55, 247), QPoint(56, 252)})
        QCOMPARE(pixel(p.x(), p.y()), magenta);
    QCOMPARE(pixel(58, 250), gradientAt(58, 250));
    QCOMPARE(pixel(55, 253), gradientAt(55, 253));

    // A later colour applies to later crosses only.
    m_inputs->options.colours[DisplayOptions::MarkColour] = storedColour(QColor(0, 128, 0));
    m_inputs->marque = true;
    m_inputs->simulation.ypos = 0.2f; // ys = 115
    m_scene->majaff();
    m_inputs->marque = false;
    m_scene->majaff();
    QCOMPARE(pixel(52, 250), magenta);
}

void TestScene::vectorsFrozenOnlyWhenAsked()
{
    // A stand-in vector: a red shaft 20 to 59 pixels below the centre.
    m_scene->setLesvecteurs(
        [this](int gx, int gy) { surface().line(gx, gy + 20, gx, gy + 60, Qt::red); });
    m_inputs->options.showRuler = false;
    m_inputs->options.showAxis = false;
    for (bool cross : {true, false}) {
        for (bool keep : {true, false}) {
            m_scene->fond();
            m_inputs->options.crossMarks = cross;
            m_inputs->options.keepVectorsOnMarks = keep;
            m_inputs->marque = true;
            m_inputs->simulation.ypos = 0.2f; // ys = 115
            m_scene->majaff();
            m_inputs->marque = false;
            m_inputs->simulation.ypos = 1.0f;
            m_scene->majaff();
            QCOMPARE(pixel(55, 170) == red, keep);
            // The mark itself stays either way: a cross, or the outlined sphere.
            QCOMPARE(pixel(cross ? 52 : 71, 115), cross ? magenta : black);
        }
    }
}

void TestScene::fondErasesMarks()
{
    m_inputs->marque = true;
    m_inputs->simulation.ypos = 0.5f;
    m_scene->majaff();
    m_scene->fond();
    QCOMPARE(surface().image(), m_scene->image3());
    QCOMPARE(surface().backgroundPicture(), m_scene->image3());
}

void TestScene::hookOrder()
{
    QStringList calls;
    m_scene->setLesvecteurs([&](int gx, int gy) {
        // Whether the live sphere (outline at x = 71) is already drawn.
        const bool sphere = pixel(71, gy) == black;
        calls << QStringLiteral("lesvecteurs %1 %2%3")
                     .arg(gx)
                     .arg(gy)
                     .arg(sphere ? QStringLiteral(" over sphere") : QStringLiteral(""));
    });
    m_scene->setTracegraphe([&] {
        // Last: the ruler is already there.
        calls << (pixel(95, 250) == black ? QStringLiteral("tracegraphe")
                                          : QStringLiteral("early tracegraphe"));
    });
    m_scene->majaff();
    QCOMPARE(calls,
             QStringList(
                 {QStringLiteral("lesvecteurs 55 25 over sphere"), QStringLiteral("tracegraphe")}));

    calls.clear();
    m_inputs->marque = true;
    m_inputs->options.crossMarks = true;
    m_scene->majaff();
    QCOMPARE(calls,
             QStringList({QStringLiteral("lesvecteurs 55 25"),
                          QStringLiteral("lesvecteurs 55 25 over sphere"),
                          QStringLiteral("tracegraphe")}));

    calls.clear();
    m_inputs->options.crossMarks = false;
    m_scene->majaff();
    QCOMPARE(calls,
             QStringList({QStringLiteral("lesvecteurs 55 25 over sphere"),
                          QStringLiteral("lesvecteurs 55 25 over sphere"),
                          QStringLiteral("tracegraphe")}));

    calls.clear();
    m_inputs->options.keepVectorsOnMarks = false;
    m_scene->majaff();
    QCOMPARE(calls,
             QStringList(
                 {QStringLiteral("lesvecteurs 55 25 over sphere"), QStringLiteral("tracegraphe")}));
}

void TestScene::indexReadout()
{
    QStringList texts;
    m_scene->setIndexReadout([&](const QString &text) { texts << text; });
    m_scene->majaff();
    m_inputs->lineY = 250;
    m_scene->majaff();
    m_inputs->lineY = 475;
    m_inputs->parameters.texts[ParameterFields::Height] = QStringLiteral("0,3");
    m_scene->majaff();
    m_inputs->lineY = 26;
    m_inputs->parameters.texts[ParameterFields::Height] = QStringLiteral("0,1");
    m_scene->majaff();
    QCOMPARE(texts,
             QStringList({QStringLiteral("Index : y = 0 m"), QStringLiteral("Index : y = 0,5 m"),
                          QStringLiteral("Index : y = 0,3 m"),
                          QStringLiteral("Index : y = 0,000222 m")}));
}

void TestScene::unreadableFieldsSkipSteps()
{
    QStringList calls;
    m_scene->setIndexReadout([&](const QString &text) { calls << text; });
    m_scene->setTracegraphe([&] { calls << QStringLiteral("tracegraphe"); });
    m_inputs->simulation.ypos = 0.5f;
    m_scene->majaff();
    QCOMPARE(m_scene->sphereY(), 250);
    QCOMPARE(m_scene->sphereRadiusPixels(), 16);

    // The centre and the radius keep their last values; the ruler keeps its
    // ticks without labels; the refresh still reaches tracegraphe.
    for (const QString &h : {QString(), QStringLiteral("abc")}) {
        calls.clear();
        m_inputs->parameters.texts[ParameterFields::Height] = h;
        m_inputs->simulation.ypos = 0.9f;
        m_scene->majaff();
        QCOMPARE(m_scene->sphereY(), 250);
        QCOMPARE(m_scene->sphereRadiusPixels(), 16);
        QCOMPARE(pixel(95, 250), black);
        QVERIFY(drawnColumns(surface(), 19 + 450, 19 + 450 + 11, 31, 89).isEmpty());
        QCOMPARE(calls, QStringList({QStringLiteral("tracegraphe")}));
    }
    // A zero height reads, but divides by zero: the ruler reads 0 throughout.
    calls.clear();
    m_inputs->parameters.texts[ParameterFields::Height] = QStringLiteral("0");
    m_scene->majaff();
    QCOMPARE(m_scene->sphereY(), 250);
    QCOMPARE(m_scene->sphereRadiusPixels(), 16);
    QCOMPARE(calls,
             QStringList({QStringLiteral("Index : y = 0 m"), QStringLiteral("tracegraphe")}));

    m_inputs->parameters.texts[ParameterFields::Height] = QStringLiteral("1");
    m_inputs->parameters.texts[ParameterFields::Radius] = QString();
    m_inputs->simulation.ypos = std::numeric_limits<float>::quiet_NaN();
    m_scene->majaff();
    QCOMPARE(m_scene->sphereY(), 250);
    QCOMPARE(m_scene->sphereRadiusPixels(), 16);
    m_inputs->simulation.ypos = std::numeric_limits<float>::infinity();
    m_scene->majaff();
    QCOMPARE(m_scene->sphereY(), 250);
}

QTEST_MAIN(TestScene)
#include "tst_scene.moc"
