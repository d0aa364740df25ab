// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/parameterfields.h"
#include "graphs/measuredplot.h"
#include "mainwindow/feuillep.h"
#include "mainwindowrig.h"
#include "measures/measurementholder.h"
#include "platform/programpaths.h"

#include <QTemporaryDir>
#include <QTest>

// The main window composes the session's measured fall: its fields feed
// the measures dialog, a fitted result comes back through their validation,
// and the small graph shows the points.
class TestFeuillePMeasures : public QObject
{
    Q_OBJECT

private slots:
    void fieldsInAndOut_data();
    void fieldsInAndOut();
    void smallGraphShowsLoadedPoints();
};

void TestFeuillePMeasures::fieldsInAndOut_data()
{
    QTest::addColumn<bool>("sphereAndFluid");
    QTest::addColumn<QString>("radius");
    QTest::newRow("viscosity only") << false << QStringLiteral("3,5");
    QTest::newRow("sphere and fluid too") << true << QStringLiteral("1");
}

void TestFeuillePMeasures::fieldsInAndOut()
{
    QFETCH(bool, sphereAndFluid);
    QFETCH(QString, radius);
    QTemporaryDir dir;
    MainWindowRig w(dir.path());
    auto *holder = w.window.findChild<MeasurementHolder *>();
    QVERIFY(holder);
    QVERIFY(holder->fieldTexts && holder->apply);
    const MeasureFieldTexts texts = holder->fieldTexts();
    QCOMPARE(texts.radius, w.window.fields().text(ParameterFields::Radius));
    QCOMPARE(texts.viscosity, w.window.fields().text(ParameterFields::Viscosity));
    // No folder of the program's own: the measures' file dialog first opens
    // in the user's documents, then where the last file was.
    QVERIFY(holder->folder.isEmpty());

    AppliedFit fit;
    fit.viscosity = QStringLiteral("1,23456"); // the field keeps three digits
    fit.radius = QStringLiteral("1");
    fit.mass = QStringLiteral("30");
    fit.fluidDensity = QStringLiteral("1260");
    fit.sphereAndFluid = sphereAndFluid;
    holder->apply(fit);
    QCOMPARE(w.window.fields().text(ParameterFields::Viscosity), QStringLiteral("1,23"));
    QCOMPARE(w.window.fields().text(ParameterFields::Radius), radius);
    if (sphereAndFluid) {
        QCOMPARE(w.window.fields().text(ParameterFields::Mass), QStringLiteral("30"));
        QCOMPARE(w.window.fields().text(ParameterFields::FluidDensity), QStringLiteral("1260"));
    }
}

void TestFeuillePMeasures::smallGraphShowsLoadedPoints()
{
    QTemporaryDir dir;
    MainWindowRig w(dir.path());
    auto *holder = w.window.findChild<MeasurementHolder *>();
    QVERIFY(holder);
    const auto markers = [&w] {
        const QImage &image = w.window.graphSurface().image();
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixelColor(x, y) == MeasuredPlot::markerColour;
        return n;
    };
    QCOMPARE(markers(), 0);
    MeasurementSet set;
    for (int i = 1; i <= 5; ++i)
        set.points.push_back({0.1 * i, 0.01 * i, std::nan(""), i, MeasuredPoint::Exclusion::None});
    holder->setSet(set);
    QVERIFY(markers() >= 9); // at least one filled 3 x 3 square
    holder->clear();
    QCOMPARE(markers(), 0);
}

QTEST_MAIN(TestFeuillePMeasures)
#include "tst_feuillepmeasures.moc"
