// SPDX-License-Identifier: GPL-3.0-or-later
#include "measures/glycerinereference.h"
#include "measures/uncertaintyreport.h"

#include <QTest>

#include <cmath>

class TestGlycerineReference : public QObject
{
    Q_OBJECT

private slots:
    void tables_data();
    void tables();
    void outsideRange();
    void inverse_data();
    void inverse();
    void comparison_data();
    void comparison();
};

// The usual tables of glycerine–water viscosities (the glycerine producers'
// tables, after Segur and Oberstar), in mPa·s: mixtures at 20 °C by
// glycerine mass fraction, pure glycerine from 0 to 100 °C. Cheng's formula
// was fitted to such data; it holds them within its stated accuracy.
void TestGlycerineReference::tables_data()
{
    QTest::addColumn<double>("celsius");
    QTest::addColumn<double>("glycerinePercent");
    QTest::addColumn<double>("table"); // mPa·s
    QTest::addColumn<double>("tolerance");
    const double stated = GlycerineReference::relativeAccuracy;
    // The two figures every lesson quotes, more tightly.
    QTest::newRow("glycérine pure, 20 °C : 1,412 Pa·s") << 20.0 << 100.0 << 1412.0 << 0.005;
    QTest::newRow("eau, 20 °C : 1,002 mPa·s") << 20.0 << 0.0 << 1.002 << 0.005;
    const struct
    {
        double percent, table;
    } at20[] = {{10, 1.31}, {20, 1.76}, {30, 2.50}, {40, 3.72},  {50, 6.00},  {60, 10.8},
                {70, 22.5}, {75, 35.5}, {80, 60.1}, {85, 109.0}, {90, 219.0}, {95, 523.0}};
    for (const auto &row : at20)
        QTest::addRow("20 °C, %g %% de glycérine", row.percent)
            << 20.0 << row.percent << row.table << stated;
    const struct
    {
        double celsius, table;
    } pure[] = {{0, 12070}, {10, 3900}, {30, 612},  {40, 284},  {50, 142},
                {60, 81.3}, {70, 50.6}, {80, 31.9}, {90, 21.3}, {100, 14.8}};
    for (const auto &row : pure)
        QTest::addRow("glycérine pure, %g °C", row.celsius)
            << row.celsius << 100.0 << row.table << stated;
}

void TestGlycerineReference::tables()
{
    QFETCH(double, celsius);
    QFETCH(double, glycerinePercent);
    QFETCH(double, table);
    QFETCH(double, tolerance);
    const double eta = GlycerineReference::viscosity(celsius, 1.0 - glycerinePercent / 100.0);
    QVERIFY2(std::abs(eta / (table * 1e-3) - 1.0) < tolerance, qPrintable(QString::number(eta)));
}

void TestGlycerineReference::outsideRange()
{
    QVERIFY(std::isnan(GlycerineReference::viscosity(-0.5, 0.0)));
    QVERIFY(std::isnan(GlycerineReference::viscosity(100.5, 0.0)));
    QVERIFY(std::isnan(GlycerineReference::viscosity(20.0, -0.01)));
    QVERIFY(std::isnan(GlycerineReference::viscosity(20.0, 1.01)));
    QVERIFY(std::isnan(GlycerineReference::viscosity(qQNaN(), 0.5)));
    QVERIFY(std::isfinite(GlycerineReference::viscosity(0.0, 1.0)));
    QVERIFY(std::isfinite(GlycerineReference::viscosity(100.0, 0.0)));
}

void TestGlycerineReference::inverse_data()
{
    QTest::addColumn<double>("celsius");
    QTest::addColumn<double>("eta");
    QTest::addColumn<double>("waterPercent"); // −1: no mixture
    QTest::addColumn<double>("tolerance");    // in percent of water
    // The table's mixtures at 20 °C, read backwards: 60,1 mPa·s is 20 % of
    // water, 6,00 mPa·s is 50 %, within the formula's few percent of η.
    QTest::newRow("20 °C, 60,1 mPa·s") << 20.0 << 0.0601 << 20.0 << 0.5;
    QTest::newRow("20 °C, 6,00 mPa·s") << 20.0 << 0.0060 << 50.0 << 0.5;
    QTest::newRow("glycérine pure à 20 °C") << 20.0 << 1.4138 << 0.0 << 0.01;
    QTest::newRow("plus visqueuse que la glycérine") << 20.0 << 2.0 << -1.0 << 0.0;
    QTest::newRow("moins visqueuse que l'eau") << 20.0 << 5e-4 << -1.0 << 0.0;
    QTest::newRow("hors des températures") << 120.0 << 0.01 << -1.0 << 0.0;
}

void TestGlycerineReference::inverse()
{
    QFETCH(double, celsius);
    QFETCH(double, eta);
    QFETCH(double, waterPercent);
    QFETCH(double, tolerance);
    const std::optional<double> water = GlycerineReference::waterFraction(celsius, eta);
    if (waterPercent < 0.0) {
        QVERIFY(!water);
        return;
    }
    QVERIFY(water);
    QVERIFY2(std::abs(*water * 100.0 - waterPercent) <= tolerance,
             qPrintable(QString::number(*water)));
    // And forwards again, to the bisection's precision.
    QVERIFY(std::abs(GlycerineReference::viscosity(celsius, *water) / eta - 1.0) < 1e-9);
}

void TestGlycerineReference::comparison_data()
{
    QTest::addColumn<double>("eta");
    QTest::addColumn<double>("u");
    QTest::addColumn<double>("celsius");
    QTest::addColumn<QStringList>("lines"); // the first two
    QTest::newRow("1,40 ± 0,02 à 20 °C : compatible")
        << 1.40 << 0.02 << 20.0
        << QStringList {QStringLiteral("Référence : η = 1,414 Pa·s (glycérine pure à 20 °C, "
                                       "formule de Cheng 2008, à 4 % près)"),
                        // |1,40 − 1,4138| / 0,02 = 0,69
                        QStringLiteral("Écart normalisé : z = |η − η_réf| / u(η) = 0,69 (z ≤ 2 : "
                                       "mesure compatible avec la référence)")};
    QTest::newRow("1,200 ± 0,012 à 20 °C : non compatible")
        << 1.2 << 0.012 << 20.0
        << QStringList {QStringLiteral("Référence : η = 1,414 Pa·s (glycérine pure à 20 °C, "
                                       "formule de Cheng 2008, à 4 % près)"),
                        // |1,2 − 1,4138| / 0,012 = 17,8
                        QStringLiteral("Écart normalisé : z = |η − η_réf| / u(η) = 18 (z > 2 : "
                                       "mesure non compatible avec la référence)")};
    QTest::newRow("z au-delà de 100, écrit sans exposant")
        << 1.2 << 0.001 << 20.0
        << QStringList {QStringLiteral("Référence : η = 1,414 Pa·s (glycérine pure à 20 °C, "
                                       "formule de Cheng 2008, à 4 % près)"),
                        // |1,2 − 1,4138| / 0,001 = 213,8
                        QStringLiteral("Écart normalisé : z = |η − η_réf| / u(η) = 210 (z > 2 : "
                                       "mesure non compatible avec la référence)")};
    QTest::newRow("sans incertitude")
        << 1.2 << 0.0 << 20.0
        << QStringList {QStringLiteral("Référence : η = 1,414 Pa·s (glycérine pure à 20 °C, "
                                       "formule de Cheng 2008, à 4 % près)"),
                        QStringLiteral("Écart normalisé : non calculable sans incertitude sur "
                                       "η.")};
}

void TestGlycerineReference::comparison()
{
    QFETCH(double, eta);
    QFETCH(double, u);
    QFETCH(double, celsius);
    QFETCH(QStringList, lines);
    const UncertaintyReport::Comparison c = UncertaintyReport::compare(eta, u, celsius, 0.0);
    const QStringList shown = UncertaintyReport::referenceLines(c);
    QCOMPARE(shown.mid(0, 2), lines);
    // The tables give 1412 → 612 mPa·s from 20 to 30 °C (−8 % per kelvin on
    // average, more at 20 °C) and 1412 → 523 mPa·s for the first 5 % of water
    // (−18 % per percent on average).
    QVERIFY2(c.perKelvin < -0.075 && c.perKelvin > -0.10, qPrintable(QString::number(c.perKelvin)));
    QVERIFY2(c.perPercentWater < -0.16 && c.perPercentWater > -0.23,
             qPrintable(QString::number(c.perPercentWater)));
    QVERIFY(c.explainingWater);
    QVERIFY(
        shown.at(2).startsWith(QStringLiteral("À 20 °C, η mesurée est celle d'une glycérine à ")));
}

QTEST_MAIN(TestGlycerineReference)
#include "tst_glycerinereference.moc"
