// SPDX-License-Identifier: GPL-3.0-or-later
#include "measures/quantity.h"
#include "measures/unitsanity.h"

#include <QTest>

#include <cmath>

Q_DECLARE_METATYPE(UnitSanity::TypedInputs)
Q_DECLARE_METATYPE(MeasurementSet)
Q_DECLARE_METATYPE(FallSetup)

namespace {

constexpr double none = std::numeric_limits<double>::quiet_NaN();

// Relative comparison for values computed with decimal factors.
bool near(double actual, double expected)
{
    if (std::isnan(expected))
        return std::isnan(actual);
    return std::abs(actual - expected) <= 1e-12 * std::abs(expected);
}

TypedQuantity typed(double value, bool unitTyped)
{
    TypedQuantity q;
    q.value = value;
    q.unitTyped = unitTyped;
    return q;
}

// A uniform fall of `distance` metres over `count` points `step` apart
// (in the times' own unit), as a table of a tracker gives it.
MeasurementSet uniformFall(double step, int count, double distance)
{
    MeasurementSet set;
    for (int i = 0; i < count; ++i) {
        MeasuredPoint p;
        p.t = i * step;
        p.y = distance * i / (count - 1);
        p.source = i + 2;
        set.points.push_back(p);
    }
    return set;
}

// Glass in glycerol: ρs = 2500 kg/m³, ρf = 1260 kg/m³.
FallSetup glass(double radius)
{
    FallSetup setup;
    setup.radius = radius;
    setup.mass = FallSetup::massFromDensity(radius, 2500.0);
    setup.fluidDensity = 1260.0;
    return setup;
}

} // namespace

class TestQuantity : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void refused_data();
    void refused();
    void halfWidth_data();
    void halfWidth();
    void inputWarnings_data();
    void inputWarnings();
    void millisecondTimes_data();
    void millisecondTimes();
};

void TestQuantity::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("unsaid"); // the unit when none is typed; empty: SI
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("uncertainty"); // NaN: none typed
    QTest::addColumn<bool>("unitTyped");
    const int length = int(QuantityKind::Length);
    const int mass = int(QuantityKind::Mass);
    const int density = int(QuantityKind::Density);
    const int time = int(QuantityKind::Time);
    const int plain = int(QuantityKind::Plain);
    const QString si;

    QTest::newRow("mm") << "3,155mm" << length << si << 3.155e-3 << none << true;
    QTest::newRow("93,5mm") << "93,5mm" << length << si << 0.0935 << none << true;
    QTest::newRow("cm") << "10cm" << length << si << 0.1 << none << true;
    QTest::newRow("dm") << "1,2 dm" << length << si << 0.12 << none << true;
    QTest::newRow("µm, micro sign") << "250µm" << length << si << 250e-6 << none << true;
    QTest::newRow("μm, Greek mu") << "250μm" << length << si << 250e-6 << none << true;
    QTest::newRow("um") << "250um" << length << si << 250e-6 << none << true;
    QTest::newRow("exponent and unit") << "2.5e-3m" << length << si << 2.5e-3 << none << true;
    QTest::newRow("metres when unsaid") << "3,155" << length << si << 3.155 << none << false;
    QTest::newRow("mm when the field says so")
        << "3,155" << length << "mm" << 3.155e-3 << none << false;
    QTest::newRow("mg") << "145000mg" << mass << si << 0.145 << none << true;
    QTest::newRow("g") << "0,289g" << mass << si << 0.289e-3 << none << true;
    QTest::newRow("g/cm3") << "1,26g/cm3" << density << si << 1260.0 << none << true;
    QTest::newRow("g/cm3 of steel") << "7,8g/cm3" << density << si << 7800.0 << none << true;
    QTest::newRow("g/cm³") << "1,26g/cm³" << density << si << 1260.0 << none << true;
    QTest::newRow("kg/m3") << "2200kg/m3" << density << si << 2200.0 << none << true;
    QTest::newRow("kg/m³ with a space") << "2200 kg/m³" << density << si << 2200.0 << none << true;
    QTest::newRow("kg·m⁻³") << "2200kg·m⁻³" << density << si << 2200.0 << none << true;
    QTest::newRow("g.cm-3") << "1,26 g.cm-3" << density << si << 1260.0 << none << true;
    QTest::newRow("kg/m^3") << "2200kg/m^3" << density << si << 2200.0 << none << true;
    QTest::newRow("g/mL") << "1,26g/mL" << density << si << 1260.0 << none << true;
    QTest::newRow("kg/L") << "0,92kg/L" << density << si << 920.0 << none << true;
    QTest::newRow("g/L") << "1260g/L" << density << si << 1260.0 << none << true;
    QTest::newRow("kg/m³ when unsaid") << "1,26" << density << si << 1.26 << none << false;
    QTest::newRow("ms") << "250ms" << time << si << 0.25 << none << true;
    QTest::newRow("plain") << "240" << plain << si << 240.0 << none << false;

    QTest::newRow("unit on both sides") << "2mm±0,005mm" << length << si << 2e-3 << 5e-6 << true;
    QTest::newRow("no unit, ±") << "7800±20" << density << si << 7800.0 << 20.0 << false;
    QTest::newRow("+-") << "1260+-3" << density << si << 1260.0 << 3.0 << false;
    QTest::newRow("+/- with blanks") << "1,5 +/- 0,1 mm" << length << si << 1.5e-3 << 1e-4 << true;
    QTest::newRow("unit after the uncertainty")
        << "1,26±0,01g/cm3" << density << si << 1260.0 << 10.0 << true;
    QTest::newRow("unit after the value") << "2mm±0,005" << length << si << 2e-3 << 5e-6 << true;
    QTest::newRow("different units") << "10cm±0,5mm" << length << si << 0.1 << 5e-4 << true;
    QTest::newRow("parentheses") << "(1,26 ± 0,01) g/cm³" << density << si << 1260.0 << 10.0
                                 << true;
    QTest::newRow("± in the field's unit") << "0,5±0,01" << length << "mm" << 5e-4 << 1e-5 << false;
    QTest::newRow("zero uncertainty") << "7800±0" << density << si << 7800.0 << 0.0 << false;
}

void TestQuantity::parse()
{
    QFETCH(QString, text);
    QFETCH(int, kind);
    QFETCH(QString, unsaid);
    QFETCH(double, value);
    QFETCH(double, uncertainty);
    QFETCH(bool, unitTyped);
    QString error;
    const std::optional<TypedQuantity> read
        = QuantityText::parse(text, QuantityKind(kind), &error, unsaid);
    QVERIFY2(read, qPrintable(error));
    QVERIFY2(near(read->value, value), qPrintable(QString::number(read->value, 'g', 17)));
    QVERIFY2(near(read->uncertainty, uncertainty),
             qPrintable(QString::number(read->uncertainty, 'g', 17)));
    QCOMPARE(read->hasUncertainty(), !std::isnan(uncertainty));
    QCOMPARE(read->unitTyped, unitTyped);
}

void TestQuantity::refused_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("error");
    const int length = int(QuantityKind::Length);
    const int mass = int(QuantityKind::Mass);
    const int density = int(QuantityKind::Density);
    const int plain = int(QuantityKind::Plain);

    QTest::newRow("empty") << "  " << length << "Aucune valeur n'est écrite.";
    QTest::newRow("a unit alone") << "mm" << length << "« mm » ne commence pas par un nombre.";
    QTest::newRow("nan") << "nan" << length << "« nan » ne commence pas par un nombre.";
    QTest::newRow("± alone") << "±0,01" << length << "« ±0,01 » ne commence pas par un nombre.";
    QTest::newRow("two commas")
        << "3,1,5mm" << length
        << "« 3,1,5 » n'est pas un nombre (une seule virgule ou un seul point décimal).";
    QTest::newRow("beyond the doubles")
        << "1e999" << length << "« 1e999 » est hors de la plage des nombres.";
    QTest::newRow("unknown unit")
        << "3in" << length
        << "L'unité « in » est inconnue ; une longueur s'écrit en µm, mm, cm, dm ou m.";
    QTest::newRow("mass for a length")
        << "3g" << length
        << "« g » est une unité de masse ; une longueur s'écrit en µm, mm, cm, "
           "dm ou m.";
    QTest::newRow("density for a mass")
        << "1,26g/cm3" << mass
        << "« g/cm3 » est une unité de masse volumique ; une masse s'écrit en mg, g ou kg.";
    QTest::newRow("mass for a density")
        << "2200kg" << density
        << "« kg » est une unité de masse ; une masse volumique s'écrit en kg/m3, g/cm3, g/mL, "
           "kg/L ou g/L.";
    QTest::newRow("g/cm without its power")
        << "1,26g/cm" << density
        << "L'unité « g/cm » est inconnue ; une masse volumique s'écrit en kg/m3, g/cm3, g/mL, "
           "kg/L ou g/L.";
    QTest::newRow("a unit where none is")
        << "240s" << plain << "« s » est une unité de durée ; cette valeur s'écrit sans unité.";
    QTest::newRow("± without its value") << "2mm±" << length << "L'incertitude manque après « ± ».";
    QTest::newRow("negative uncertainty")
        << "2mm±-0,005mm" << length
        << "L'incertitude « -0,005mm » est négative : écrivez-la sans signe.";
    QTest::newRow("two ±") << "1±2±3" << plain << "Un seul « ± » par valeur.";
    QTest::newRow("a half-width without its number")
        << "2mm±/√3" << length << "L'incertitude manque après « ± ».";
    QTest::newRow("uncertainty of another quantity")
        << "2mm±0,005g" << length
        << "« g » est une unité de masse ; une longueur s'écrit en µm, mm, cm, dm ou m.";
    QTest::newRow("parenthesis not closed")
        << "(1,26±0,01 g/cm3" << density << "La parenthèse ouverte n'est pas fermée.";
    QTest::newRow("unit inside and after the parentheses")
        << "(1,26±0,01g/cm3)g/cm3" << density
        << "Écrivez l'unité une seule fois, après la parenthèse.";
}

void TestQuantity::refused()
{
    QFETCH(QString, text);
    QFETCH(int, kind);
    QFETCH(QString, error);
    QString why;
    QVERIFY(!QuantityText::parse(text, QuantityKind(kind), &why));
    QCOMPARE(why, error);
}

// "a/√3": the half-width a of a rectangular law, read as u = a/√3 and
// marked uniform, in a value ("2mm±0,01mm/√3") and alone in a "±" field.
void TestQuantity::halfWidth_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("field"); // the text of a "±" field, not a value
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("unsaid");
    QTest::addColumn<double>("uncertainty");
    QTest::addColumn<bool>("uniform");
    const int length = int(QuantityKind::Length);
    const int density = int(QuantityKind::Density);
    const int plain = int(QuantityKind::Plain);
    const double root3 = std::sqrt(3.0);

    QTest::newRow("value, unit on both sides")
        << "2mm±0,01mm/√3" << false << length << "" << 1e-5 / root3 << true;
    QTest::newRow("value, ASCII rac3")
        << "7800±20/rac3" << false << density << "" << 20.0 / root3 << true;
    QTest::newRow("value, parentheses and blanks")
        << "(1,26 ± 0,01 / √3) g/cm³" << false << density << "" << 10.0 / root3 << true;
    QTest::newRow("value, a standard uncertainty")
        << "10cm±0,5mm" << false << length << "" << 5e-4 << false;
    QTest::newRow("field, the value's unit")
        << "0,05/√3" << true << length << "cm" << 5e-4 / root3 << true;
    QTest::newRow("field, its own unit")
        << "±0,5mm/√3" << true << length << "cm" << 5e-4 / root3 << true;
    QTest::newRow("field, standard") << "+-0,3" << true << length << "mm" << 3e-4 << false;
    QTest::newRow("field, index") << "0,005/√3" << true << plain << "" << 0.005 / root3 << true;
    QTest::newRow("field, empty: exact") << "  " << true << length << "mm" << 0.0 << false;
}

void TestQuantity::halfWidth()
{
    QFETCH(QString, text);
    QFETCH(bool, field);
    QFETCH(int, kind);
    QFETCH(QString, unsaid);
    QFETCH(double, uncertainty);
    QFETCH(bool, uniform);
    QString error;
    const std::optional<TypedQuantity> read = field
        ? QuantityText::parseUncertainty(text, QuantityKind(kind), QStringLiteral("du rayon"),
                                         &error, unsaid)
        : QuantityText::parse(text, QuantityKind(kind), &error, unsaid);
    QVERIFY2(read, qPrintable(error));
    QVERIFY2(near(read->uncertainty, uncertainty),
             qPrintable(QString::number(read->uncertainty, 'g', 17)));
    QCOMPARE(read->uniform, uniform);
}

void TestQuantity::inputWarnings_data()
{
    QTest::addColumn<UnitSanity::TypedInputs>("inputs");
    QTest::addColumn<QStringList>("warnings");
    UnitSanity::TypedInputs good;
    good.radius = typed(3.155e-3, true);
    good.sphereDensity = typed(2500.0, false);
    good.fluidDensity = typed(1260.0, false);
    good.tubeDiameter = typed(0.0935, true);
    QTest::newRow("glass in glycerol") << good << QStringList();

    UnitSanity::TypedInputs in = good;
    in.fluidDensity = typed(1.26, false);
    QTest::newRow("fluid in g/cm3 without its unit")
        << in
        << QStringList {QStringLiteral(
               "1,26 kg/m³ est la masse volumique d'un gaz ; en g/cm³, écrivez 1,26g/cm3")};
    in = good;
    in.fluidDensity = typed(1.26, true);
    QTest::newRow("fluid in kg/m3 said") // a gas all the same
        << in
        << QStringList {QStringLiteral(
               "1,26 kg/m³ est la masse volumique d'un gaz ; en g/cm³, écrivez 1,26g/cm3")};
    in = good;
    in.fluidDensity = typed(100.0, false);
    QTest::newRow("fluid at the limit") << in << QStringList();
    in = good;
    in.sphereDensity = typed(7.8, false);
    QTest::newRow("sphere in g/cm3 without its unit")
        << in
        << QStringList {QStringLiteral("7,8 kg/m³ est la masse volumique d'une mousse : une "
                                       "telle bille flotte ; en g/cm³, écrivez 7,8g/cm3")};
    in = good;
    in.radius = typed(2.0, false);
    QTest::newRow("radius in mm without its unit")
        << in
        << QStringList {QStringLiteral(
               "Sans unité, le rayon est en mètres : 2 m ; en millimètres, écrivez 2mm")};
    in.radius = typed(0.1, true);
    QTest::newRow("a large radius typed in cm") << in << QStringList();
    in = good;
    in.tubeDiameter = typed(93.5, false);
    QTest::newRow("tube in mm without its unit")
        << in
        << QStringList {QStringLiteral("Sans unité, le diamètre du tube est en mètres : 93,5 m "
                                       "; en millimètres, écrivez 93,5mm")};

    // The mass instead of the density: 0,5 kg on a 2 mm ball is 1,49·10⁷ kg/m³.
    UnitSanity::TypedInputs byMass;
    byMass.radius = typed(2e-3, true);
    byMass.mass = typed(0.5, false);
    byMass.fluidDensity = typed(1260.0, false);
    QTest::newRow("mass in g without its unit")
        << byMass
        << QStringList {QStringLiteral(
               "Une bille de 2 mm de rayon et de 500 g aurait une masse volumique de 1,49E+07 "
               "kg/m³, plus que tout solide (osmium : 22 590 kg/m³) ; sans unité, la masse est "
               "en kg : en grammes, écrivez 0,5g")};
    byMass.radius = typed(1e-3, true);
    byMass.mass = typed(30.0, false); // 7,16·10⁹ kg/m³, 7,16·10⁶ in grams
    QTest::newRow("mass in mg without its unit")
        << byMass
        << QStringList {QStringLiteral(
               "Une bille de 1 mm de rayon et de 30000 g aurait une masse volumique de 7,16E+09 "
               "kg/m³, plus que tout solide (osmium : 22 590 kg/m³) ; sans unité, la masse est "
               "en kg : en milligrammes, écrivez 30mg")};
    byMass.mass = typed(5e-3, true); // 1,19·10⁶ kg/m³
    QTest::newRow("mass with its unit, too much")
        << byMass
        << QStringList {QStringLiteral(
               "Une bille de 1 mm de rayon et de 5 g aurait une masse volumique de 1,19E+06 "
               "kg/m³, plus que tout solide (osmium : 22 590 kg/m³)")};
    byMass.mass = typed(3.3e-5, true); // steel: 7878 kg/m³
    QTest::newRow("steel by its mass") << byMass << QStringList();
}

void TestQuantity::inputWarnings()
{
    QFETCH(UnitSanity::TypedInputs, inputs);
    QFETCH(QStringList, warnings);
    QCOMPARE(UnitSanity::inputWarnings(inputs), warnings);
}

void TestQuantity::millisecondTimes_data()
{
    QTest::addColumn<MeasurementSet>("set");
    QTest::addColumn<FallSetup>("setup");
    QTest::addColumn<QString>("remark");

    // 9,8 cm in 4900 "s": Stokes's law gives η = 2r²(ρs − ρf)g / 9v
    // = 2 × (3,155 mm)² × 1240 × 9,81 / (9 × 2·10⁻⁵ m/s) = 1345 Pa·s.
    QTest::newRow("a video's times in ms")
        << uniformFall(100.0, 50, 0.098) << glass(3.155e-3)
        << "Les temps n'ont pas d'unité : lus en secondes, la chute de 9,8 cm durerait 4900 s et "
           "η vaudrait environ 1350 Pa·s, bien plus que le miel. Ce sont des millisecondes : les "
           "temps ont été convertis en secondes (si ce sont des secondes, écrivez « t (s) » en "
           "tête de la colonne des temps).";
    QTest::newRow("the same times in s") << uniformFall(0.1, 50, 0.098) << glass(3.155e-3) << "";
    // 1 m of glycerol in 200 s by hand: long, but η = 1,2 Pa·s.
    QTest::newRow("a slow fall timed by hand") << uniformFall(20.0, 11, 1.0) << glass(1.5e-3) << "";
    // Thick, but over less than 100 s: nothing says it is not a real fall.
    QTest::newRow("a short table") << uniformFall(9.0, 10, 0.0018) << glass(3.155e-3) << "";
    FallSetup floating = glass(3.155e-3);
    floating.fluidDensity = 3000.0;
    QTest::newRow("no judgement without a setup")
        << uniformFall(100.0, 50, 0.098) << floating << "";
    MeasurementSet still = uniformFall(100.0, 50, 0.0);
    QTest::newRow("a ball that does not move") << still << glass(3.155e-3) << "";
}

void TestQuantity::millisecondTimes()
{
    QFETCH(MeasurementSet, set);
    QFETCH(FallSetup, setup);
    QFETCH(QString, remark);
    QCOMPARE(UnitSanity::millisecondTimes(set, setup), remark);
}

QTEST_APPLESS_MAIN(TestQuantity)
#include "tst_quantity.moc"
