// SPDX-License-Identifier: GPL-3.0-or-later
#include "measures/uncertaintyreport.h"
#include "stokescase.h"

#include "core/csvtext.h"

#include <QTest>

using namespace StokesCase;

// The French lines and the CSV rows of the budget and of the Monte-Carlo result.
class TestUncertaintyReport : public QObject
{
    Q_OBJECT

private slots:
    void budgetText();
    void monteCarloText();
    void csvRows();
};

// η = k·r²/v with r = 2 mm ± 0,5 % and v = 10 mm/s ± 0,1 % (type A):
// u(η)/η = √(1 % ² + 0,1 % ²), the radius 1/1,01 of u², the velocity 0,01/1,01.
void TestUncertaintyReport::budgetText()
{
    using D = UncertainInput::Distribution;
    using T = UncertainInput::Type;
    const std::vector<UncertainInput> inputs {
        {QStringLiteral("rayon de la bille"), 2e-3, 1e-5, QStringLiteral("mm"), 1e-3, D::Normal,
         T::B, false},
        {QStringLiteral("vitesse limite"), 0.01, 1e-5, QStringLiteral("mm/s"), 1e-3, D::Normal,
         T::A, false},
        {QStringLiteral("masse volumique du fluide"), 1260.0, 0.0, QStringLiteral("kg/m³"), 1.0,
         D::Normal, T::B, false},
        {QStringLiteral("g"), 9.81, 0.0, QStringLiteral("m/s²"), 1.0, D::Normal, T::B, true},
    };
    const Measurand f = [](const std::vector<double> &x) { return 3e3 * x[0] * x[0] / x[1]; };
    const Propagation p = Uncertainty::propagate(inputs, f);
    QVERIFY(p.ok);
    QCOMPARE(UncertaintyReport::budgetLines(inputs, p),
             QStringList({
                 QStringLiteral("Incertitude-type composée : u(η) = 0,012 Pa·s (type A : 0,0012 "
                                "Pa·s ; type B : 0,012 Pa·s)"),
                 QStringLiteral("Bilan d'incertitude (contributions à u(η), la plus grande "
                                "d'abord) :"),
                 QStringLiteral("  rayon de la bille : 2,000 ± 0,010 mm → 0,012 Pa·s (99 % de u²)"),
                 QStringLiteral("  vitesse limite : 10,000 ± 0,010 mm/s → 0,0012 Pa·s (0,99 % de "
                                "u²), type A"),
                 QStringLiteral("Sans incertitude donnée (comptées comme exactes) : masse "
                                "volumique du fluide"),
             }));
    QVERIFY(UncertaintyReport::budgetLines(inputs, Propagation()).isEmpty());
}

void TestUncertaintyReport::monteCarloText()
{
    MonteCarloResult r;
    r.ok = true;
    r.draws = 10000;
    r.mean = 1.2001;
    r.standardDeviation = 0.0121;
    r.low = 1.1763;
    r.high = 1.2241;
    QCOMPARE(UncertaintyReport::monteCarloLines(r),
             QStringList({QStringLiteral("Monte-Carlo (10000 tirages) : η = 1,200 ± 0,012 Pa·s "
                                         "(moyenne ± écart type)"),
                          QStringLiteral("Intervalle à 95 % : [1,176 ; 1,224] Pa·s")}));
    r.rejected = 3;
    QVERIFY(UncertaintyReport::monteCarloLines(r).at(0).startsWith(
        QStringLiteral("Monte-Carlo (10000 tirages, 3 tirages écartés où η n'est pas définie)")));
    r.ok = false;
    r.error = QStringLiteral("Trop peu.");
    QCOMPARE(UncertaintyReport::monteCarloLines(r),
             QStringList {QStringLiteral("Monte-Carlo impossible : Trop peu.")});
}

void TestUncertaintyReport::csvRows()
{
    const std::vector<UncertainInput> inputs = stokesInputs();
    const Propagation p = Uncertainty::propagate(inputs, stokes);
    const QList<QStringList> rows = UncertaintyReport::budgetCsvRows(inputs, p);
    // Header, four inputs with u, g, then η.
    QCOMPARE(rows.size(), 7);
    QCOMPARE(rows.at(1).mid(0, 6),
             QStringList({QStringLiteral("rayon de la bille"), QStringLiteral("2"),
                          QStringLiteral("0,01"), QStringLiteral("mm"), QStringLiteral("B"),
                          QStringLiteral("normale")}));
    QCOMPARE(rows.at(5),
             QStringList({QStringLiteral("g"), QStringLiteral("9,81"), QStringLiteral("exacte"),
                          QStringLiteral("m/s²")}));
    QCOMPARE(rows.at(6).at(0), QStringLiteral("η"));
    const QString csv = CsvText::text(rows);
    QVERIFY(
        csv.contains(QStringLiteral("masse volumique du fluide;1260;3;kg/m³;B;rectangulaire;")));

    MonteCarloResult r = MonteCarlo::run(inputs, stokes, 1000, 3, 10);
    const QList<QStringList> mc = UncertaintyReport::monteCarloCsvRows(r);
    // Header, six figures, the histogram's header and its ten bins.
    QCOMPARE(mc.size(), 18);
    QCOMPARE(mc.at(1), QStringList({QStringLiteral("tirages"), QStringLiteral("1000"), QString()}));
}

QTEST_MAIN(TestUncertaintyReport)
#include "tst_uncertaintyreport.moc"
