// SPDX-License-Identifier: GPL-3.0-or-later
// The exercises shipped with the program: every manifest gives descriptors
// naming files that exist, configurations the program opens, and
// corrections whose figures are those of the model.
#include "exercises/exercisedescriptor.h"
#include "exercises/exercisefiles.h"
#include "exercises/exercisemanifest.h"

#include "config/configuration.h"
#include "core/animationclock.h"
#include "core/motion.h"
#include "core/numberformat.h"
#include "core/validation.h"
#include "fakefields.h"
#include "richtext/rtfreader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include <cmath>

namespace {

QDir sources()
{
    return QDir(QStringLiteral(LORVA_SHIPPED_EXERCISES));
}

QString plainText(const QString &rtfPath)
{
    QFile file(rtfPath);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QTextDocument document;
    RtfReader reader;
    return reader.read(&file, &document) ? document.toPlainText() : QString();
}

// The model as the program computes it after reading the configuration:
// the mass validated (deriving the sphere's density), then the radius
// (deriving the mass again from that density), then the end-of-fall time.
struct Model
{
    explicit Model(const Configuration &configuration)
        : clock(fields, view)
        , validator(fields, clock)
    {
        for (int i = 0; i < Configuration::fieldCount; ++i)
            fields.texts[i] = configuration.fields[std::size_t(i)];
        fields.interval = configuration.interval;
        validator.Text5_LostFocus(ParameterFields::Mass);
        validator.Text5_LostFocus(ParameterFields::Radius);
        Motion::dichotemps(fields, clock.state());
    }

    std::optional<double> value(const QString &name) const
    {
        const SimulationState &s = clock.state();
        const double r = double(fields.value(ParameterFields::Radius)) / 100.0;
        const double eta = double(fields.value(ParameterFields::Viscosity));
        const double rho = double(fields.value(ParameterFields::FluidDensity));
        const Motion::Forces forces = Motion::forcesAt(fields, s.reynolds, 0.0);
        if (name == QLatin1String("vitesse_limite"))
            return s.vlim;
        if (name == QLatin1String("constante_de_temps"))
            return s.tau;
        if (name == QLatin1String("vitesse_tau"))
            return Motion::at(s.vlim, s.tau, s.tau).v;
        if (name == QLatin1String("duree_de_chute"))
            return s.tfin;
        if (name == QLatin1String("ecart_marques")) // cm
            return s.vlim * ParameterFields::intervalMs(fields.interval) / 1000.0 * 100.0;
        if (name == QLatin1String("reynolds"))
            return s.reynolds;
        if (name == QLatin1String("reynolds_millions"))
            return s.reynolds / 1e6;
        if (name == QLatin1String("vitesse_stokes")) // the limit velocity of linear friction
            return s.reynolds * eta / (2.0 * rho * r);
        if (name == QLatin1String("masse"))
            return double(fields.value(ParameterFields::Mass));
        if (name == QLatin1String("masse_volumique_bille"))
            return double(fields.value(ParameterFields::SphereDensity));
        if (name == QLatin1String("poids"))
            return forces.weight;
        if (name == QLatin1String("poussee"))
            return forces.thrust;
        if (name == QLatin1String("masse_minimale")) // g
            return rho * Motion::sphereVolume(fields) * 1000.0;
        return std::nullopt;
    }

    FakeFields fields;
    AnimationView view;
    AnimationClock clock;
    ParameterValidator validator;
};

// Half a unit of the last digit written; the zeros ending a whole number
// are not significant.
double roundingOf(const QString &written)
{
    const qsizetype comma = written.indexOf(QLatin1Char(','));
    if (comma >= 0)
        return 0.5 * std::pow(10.0, -double(written.size() - comma - 1));
    int zeros = 0;
    for (qsizetype i = written.size() - 1; i > 0 && written.at(i) == QLatin1Char('0'); --i)
        ++zeros;
    return 0.5 * std::pow(10.0, zeros);
}

} // namespace

class TestShippedExercises : public QObject
{
    Q_OBJECT

private slots:
    void manifests_data();
    void manifests();
};

void TestShippedExercises::manifests_data()
{
    QTest::addColumn<QString>("manifest");
    const QStringList names = sources().entryList({QStringLiteral("*.exo")}, QDir::Files);
    QVERIFY(names.size() >= 6);
    for (const QString &name : names)
        QTest::newRow(qPrintable(name)) << sources().filePath(name);
}

void TestShippedExercises::manifests()
{
    QFETCH(QString, manifest);
    ExerciseManifest source;
    QVERIFY2(source.read(manifest), qPrintable(source.errorString()));

    // Written as the build writes it, beside copies of the texts.
    QTemporaryDir data;
    const QString folder = QDir(data.path()).filePath(QStringLiteral("exercices"));
    QVERIFY2(source.write(folder), qPrintable(source.errorString()));
    for (const QString &rtf : sources().entryList({QStringLiteral("*.rtf")}, QDir::Files))
        QVERIFY(QFile::copy(sources().filePath(rtf), QDir(folder).filePath(rtf)));

    const QString descriptorPath = QDir::cleanPath(QDir(folder).filePath(source.descriptorFile()));
    ExerciseDescriptor descriptor;
    QVERIFY2(descriptor.read(descriptorPath), qPrintable(descriptor.errorString()));
    const QString base = QFileInfo(descriptorPath).absolutePath();
    if (source.descriptorFile().endsWith(QLatin1String(".E40"))) {
        QVERIFY(!descriptor.title().trimmed().isEmpty());
        QVERIFY(descriptor.hasCorrection());
        QVERIFY(descriptor.symbolCount() >= 1);
        QVERIFY(descriptor.litLamps() >= 1);
    }

    // Every file named exists and opens.
    for (const QString &text : {descriptor.statement(), descriptor.correction()}) {
        if (text.isEmpty())
            continue;
        const std::optional<QString> path = ExerciseFiles::resolve(base, text);
        QVERIFY2(path, qPrintable(text));
        QVERIFY2(!plainText(*path).isEmpty(), qPrintable(text));
    }
    // Every field is the manifest's own, and the program shows each as
    // written once it has read and validated the file.
    QString missing;
    QVERIFY2(source.setsEveryField(&missing), qPrintable(missing));
    const std::pair<QString, std::optional<Configuration>> configurations[]
        = {{descriptor.configuration(), source.configuration()},
           {descriptor.correctionConfiguration(), source.correctionConfiguration()}};
    for (const auto &[configuration, expected] : configurations) {
        if (configuration.isEmpty())
            continue;
        QVERIFY(expected);
        const std::optional<QString> path = ExerciseFiles::resolve(base, configuration);
        QVERIFY2(path, qPrintable(configuration));
        ConfigurationReader reader;
        const std::optional<Configuration> loaded = reader.load(*path);
        QVERIFY2(loaded, qPrintable(reader.errorString()));
        QVERIFY(*loaded == *expected);
        const Model shown(*loaded);
        for (int i = 0; i < Configuration::fieldCount; ++i) {
            QVERIFY2(!expected->fields[std::size_t(i)].isEmpty(), qPrintable(configuration));
            QCOMPARE(shown.fields.texts.at(i), expected->fields[std::size_t(i)]);
        }
        QVERIFY2(!expected->interval.isEmpty(), qPrintable(configuration));
        QCOMPARE(validatedInterval(shown.fields.interval), expected->interval);
    }

    // Every figure of the correction is the model's, written as the text
    // writes it.
    // Digits are grouped by non-breaking spaces in the texts.
    const QString correction
        = (source.correction().isEmpty() ? QString()
                                         : plainText(QDir(folder).filePath(source.correction())))
              .replace(QChar(0x00A0), QLatin1Char(' '))
              .replace(QChar(0x202F), QLatin1Char(' '));
    const Model model(source.configuration());
    for (const auto &[name, written] : source.values()) {
        const std::optional<double> expected = model.value(name);
        QVERIFY2(expected, qPrintable(name));
        const QString digits = QString(written).remove(QLatin1Char(' '));
        const double quoted = NumberFormat::leadingValue(
            QString(digits).replace(QLatin1Char(','), QLatin1Char('.')));
        QVERIFY2(std::fabs(quoted - *expected) <= roundingOf(digits) * 1.0001,
                 qPrintable(QStringLiteral("%1 = %2, le modèle donne %3")
                                .arg(name, written)
                                .arg(*expected, 0, 'g', 8)));
        QVERIFY2(correction.contains(written),
                 qPrintable(QStringLiteral("%1 absent du corrigé").arg(written)));
    }
}

QTEST_MAIN(TestShippedExercises)
#include "tst_shippedexercises.moc"
