// SPDX-License-Identifier: GPL-3.0-or-later
// The exercises shipped with the program: every manifest gives descriptors
// naming files that exist, configurations the program opens, and
// corrections whose figures are those of the model; the lesson on measured
// falls gives the figures the measures dialog shows for its data file.
#include "exercises/exercisedescriptor.h"
#include "exercises/exercisefiles.h"
#include "exercises/exercisemanifest.h"

#include "config/configuration.h"
#include "core/animationclock.h"
#include "core/motion.h"
#include "core/numberformat.h"
#include "core/validation.h"
#include "fakefields.h"
#include "glycerinefall.h"
#include "measures/measurementholder.h"
#include "measures/measurementreader.h"
#include "measuresui/mesuresdialog.h"
#include "richtext/rtfreader.h"
#include "support/scriptedservices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include <algorithm>
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

// The lesson "Mesurer la viscosité de la glycérine" done in the measures
// dialog as its correction does it: the data file opened from the folder the
// dialog offers, the tracker's wild points left out, the fit range and the
// tube's diameter typed, "Ajuster", then "Appliquer".
struct GlycerineLesson
{
    static QString dataFile() { return QStringLiteral("glycerine-mesures.txt"); }
    // What the student types, as the correction writes it (s, s, mm).
    static QString from() { return QStringLiteral("0,6"); }
    static QString to() { return QStringLiteral("9"); }
    static QString tube() { return QStringLiteral("62"); }
    // The instants of the wild points, in s.
    static QStringList glitches()
    {
        return {QStringLiteral("3,48"), QStringLiteral("6,04"), QStringLiteral("7,84")};
    }

    struct Steps
    {
        bool excludeGlitches = true;
        bool range = true;
        bool tube = true;
        bool releaseTime = false; // "Ajuster l'instant du lâcher t0" ticked
    };

    ScriptedServices services;
    MeasurementHolder holder;
    std::unique_ptr<MesuresDialog> dialog;
    QList<AppliedFit> applied;
    QString failure; // why the lesson could not be done, empty when it was

    // configuration: the lesson's, whose fields stand for the main window's.
    bool run(const Configuration &configuration, const Steps &steps)
    {
        holder.folder = sources().path();
        holder.fieldTexts = [configuration] {
            const auto field
                = [&configuration](int index) { return configuration.fields[std::size_t(index)]; };
            return MeasureFieldTexts {field(ParameterFields::Radius), field(ParameterFields::Mass),
                                      field(ParameterFields::FluidDensity),
                                      field(ParameterFields::Viscosity)};
        };
        holder.apply = [this](const AppliedFit &fit) { applied.append(fit); };
        dialog = std::make_unique<MesuresDialog>(holder, services);
        // The lesson measures with the simulator's law, as its statement asks.
        dialog->model->setCurrentIndex(1);
        services.fileNames.enqueue(sources().filePath(dataFile()));
        QTest::mouseClick(dialog->ouvrir, Qt::LeftButton);
        if (!services.messages.isEmpty())
            return fail(services.messages.constFirst().text);
        if (holder.isEmpty())
            return fail(QStringLiteral("aucun point lu"));
        if (steps.excludeGlitches) {
            for (const QString &written : glitches()) {
                const int row = rowAt(NumberFormat::parse(written).value_or(-1.0));
                if (row < 0)
                    return fail(QStringLiteral("aucun point à %1 s").arg(written));
                dialog->points_Click(row);
            }
        }
        if (steps.range) {
            dialog->tMin->setText(from());
            dialog->tMax->setText(to());
        }
        if (steps.tube)
            dialog->tube->setText(tube());
        dialog->releaseTime->setChecked(steps.releaseTime);
        QTest::mouseClick(dialog->ajuster, Qt::LeftButton);
        if (!services.messages.isEmpty())
            return fail(services.messages.constFirst().text);
        if (!dialog->result().hasEta())
            return fail(dialog->results->toPlainText());
        QTest::mouseClick(dialog->appliquer, Qt::LeftButton);
        return applied.size() == 1 || fail(QStringLiteral("« Appliquer » sans effet"));
    }

    int rowAt(double t) const
    {
        const auto &points = holder.set().points;
        for (std::size_t i = 0; i < points.size(); ++i)
            if (std::fabs(points[i].t - t) < 1e-9)
                return int(i);
        return -1;
    }

    int lostCount() const
    {
        int n = 0;
        for (const MeasuredPoint &p : holder.set().points)
            n += p.exclusion == MeasuredPoint::Exclusion::LostBall ? 1 : 0;
        return n;
    }

    // A figure the correction quotes, as the dialog shows it; nothing for a
    // name it does not know.
    std::optional<QString> figure(const QString &name) const
    {
        const FitResult &r = dialog->result();
        const NumberFormat::Measured free = NumberFormat::withUncertainty(r.eta, r.etaU);
        const NumberFormat::Measured wall = NumberFormat::withUncertainty(r.etaWall, r.etaWallU);
        const auto three = [](double value) { return NumberFormat::significant(value, 3); };
        const QHash<QString, QString> figures {
            {QStringLiteral("mesure_points"), QString::number(holder.set().points.size())},
            {QStringLiteral("mesure_points_perdus"), QString::number(lostCount())},
            {QStringLiteral("mesure_points_retenus"),
             QString::number(int(holder.set().points.size()) - lostCount())},
            {QStringLiteral("mesure_eta"), free.value},
            {QStringLiteral("mesure_u_eta"), free.uncertainty},
            {QStringLiteral("mesure_eta_paroi"), wall.value},
            {QStringLiteral("mesure_u_eta_paroi"), wall.uncertainty},
            {QStringLiteral("mesure_lambda"), three(r.lambda)},
            {QStringLiteral("mesure_facteur_paroi"), three(r.wallFactor)},
            {QStringLiteral("mesure_vitesse_limite"), three(r.vlim)},
            {QStringLiteral("mesure_tau"), three(r.tau)},
            {QStringLiteral("mesure_reynolds"), three(r.reynolds)},
            {QStringLiteral("mesure_residu"), three(r.rmsResidual)},
            {QStringLiteral("mesure_points_utilises"), QString::number(r.used)},
            {QStringLiteral("mesure_points_exclus"), QString::number(r.excluded)},
            {QStringLiteral("mesure_viscosite_appliquee"), applied.value(0).viscosity},
        };
        const auto found = figures.constFind(name);
        if (found == figures.cend())
            return std::nullopt;
        return *found;
    }

private:
    bool fail(const QString &why)
    {
        failure = why;
        return false;
    }
};

} // namespace

class TestShippedExercises : public QObject
{
    Q_OBJECT

private slots:
    void manifests_data();
    void manifests();
    void glycerineDataFile();
    void glycerineLesson_data();
    void glycerineLesson();
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
    std::unique_ptr<GlycerineLesson> lesson; // done once, for the first measured figure
    for (const auto &[name, written] : source.values()) {
        if (name.startsWith(QLatin1String("mesure_"))) {
            if (!lesson) {
                lesson = std::make_unique<GlycerineLesson>();
                QVERIFY2(lesson->run(source.configuration(), {}), qPrintable(lesson->failure));
            }
            const std::optional<QString> shown = lesson->figure(name);
            QVERIFY2(shown, qPrintable(name));
            QVERIFY2(
                written == *shown,
                qPrintable(
                    QStringLiteral("%1 = %2, le dialogue affiche %3").arg(name, written, *shown)));
            // The fit's figures are read in the results; the others in the
            // table of points and in the viscosity field.
            if (name != QLatin1String("mesure_points") && !name.contains(QLatin1String("perdus"))
                && !name.contains(QLatin1String("retenus"))
                && !name.contains(QLatin1String("appliquee")))
                QVERIFY2(lesson->dialog->results->toPlainText().contains(written),
                         qPrintable(name));
            QVERIFY2(correction.contains(written),
                     qPrintable(QStringLiteral("%1 absent du corrigé").arg(written)));
            continue;
        }
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
    // What the student types is what the correction tells.
    if (lesson) {
        QStringList typed = GlycerineLesson::glitches();
        typed << GlycerineLesson::from() + QStringLiteral(" s")
              << GlycerineLesson::to() + QStringLiteral(" s") << GlycerineLesson::tube();
        for (const QString &text : typed)
            QVERIFY2(correction.contains(text), qPrintable(text));
    }
}

// The lesson's data file is what its generator writes, laid out as a video
// tool exports a track, and the reader finds that layout and the lost ball.
void TestShippedExercises::glycerineDataFile()
{
    QFile file(sources().filePath(GlycerineLesson::dataFile()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY2(bytes == GlycerineFall::table(),
             "glycerine-mesures.txt n'est plus ce qu'écrit lorva_make_glycerine");

    MeasurementReader reader;
    QVERIFY2(reader.read(bytes), qPrintable(reader.errorString()));
    const MeasurementTable &table = reader.table();
    QCOMPARE(table.layout.delimiter, QChar(u'\t'));
    QCOMPARE(table.layout.decimalMark, QChar(u','));
    QCOMPARE(table.layout.header, TableLayout::Header::NamesAndUnits);
    QCOMPARE(table.layout.titleLines, 2);
    QCOMPARE(table.skippedRows, 0);
    QCOMPARE(table.columnCount(), 3);

    // The column that moves is the height, on an axis pointing up.
    const ColumnChoice choice = defaultChoice(table);
    QCOMPARE(table.columns[std::size_t(choice.position)].name, QStringLiteral("y"));
    QCOMPARE(choice.lengthUnit, MeasureUnit::Metre);
    QVERIFY(choice.flip);
    QString why;
    const std::optional<MeasurementSet> set = toMeasurementSet(table, choice, &why);
    QVERIFY2(set, qPrintable(why));
    // Only the tracker's zeros at the end are lost; the first row is line 5.
    const auto &points = set->points;
    QCOMPARE(points.front().source, 5);
    int lost = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const bool isLost = points[i].exclusion == MeasuredPoint::Exclusion::LostBall;
        QCOMPARE(isLost, i >= points.size() - 18);
        lost += isLost ? 1 : 0;
    }
    QCOMPARE(lost, 18);
    // The wild points, on the lines the correction names.
    const int lines[] = {92, 156, 201};
    for (int i = 0; i < 3; ++i) {
        const double t = NumberFormat::parse(GlycerineLesson::glitches().at(i)).value_or(-1.0);
        const auto at = std::find_if(points.begin(), points.end(), [t](const MeasuredPoint &p) {
            return std::fabs(p.t - t) < 1e-9;
        });
        QVERIFY(at != points.end());
        QCOMPARE(at->source, lines[i]);
    }
    // Distances fallen, growing downwards from the first frame.
    QVERIFY(std::fabs(points.front().y) < 2e-3);
    QVERIFY(points[200].y > points[100].y + 0.1);
}

void TestShippedExercises::glycerineLesson_data()
{
    QTest::addColumn<bool>("excludeGlitches");
    QTest::addColumn<bool>("range");
    QTest::addColumn<bool>("tube");
    QTest::addColumn<bool>("releaseTime");
    QTest::addColumn<bool>("truth"); // η within 2 u of the value the points were made with
    QTest::addColumn<bool>("clean"); // residuals no larger than the tracking noise
    QTest::newRow("as the correction does") << true << true << true << false << true << true;
    QTest::newRow("without the wall correction") << true << true << false << false << true << true;
    QTest::newRow("release instant asked") << true << true << true << true << true << true;
    QTest::newRow("wild points kept") << false << true << true << false << true << false;
    QTest::newRow("entry and bottom kept") << true << false << true << false << false << false;
}

// Done as the correction says, the fit gives back the glycerine's viscosity
// (the wall-corrected one) within its uncertainty; each step left out spoils
// it, which is why the lesson takes it.
void TestShippedExercises::glycerineLesson()
{
    QFETCH(bool, excludeGlitches);
    QFETCH(bool, range);
    QFETCH(bool, tube);
    QFETCH(bool, releaseTime);
    QFETCH(bool, truth);
    QFETCH(bool, clean);
    ExerciseManifest manifest;
    QVERIFY2(manifest.read(sources().filePath(QStringLiteral("glycerine.exo"))),
             qPrintable(manifest.errorString()));
    GlycerineLesson lesson;
    QVERIFY2(lesson.run(manifest.configuration(), {excludeGlitches, range, tube, releaseTime}),
             qPrintable(lesson.failure));

    // The file dialog opened on the shipped exercises, then remembers.
    QCOMPARE(lesson.services.fileRequests.size(), 1);
    QCOMPARE(lesson.services.fileRequests.constFirst().directory, sources().path());
    QCOMPARE(lesson.holder.folder, sources().absolutePath());
    QVERIFY(lesson.dialog->flip->isChecked());

    const FitResult &r = lesson.dialog->result();
    QVERIFY(r.converged);
    // Frames 40 ms apart cannot show a transient of a few milliseconds: the
    // release instant asked for is left at the first frame, and said so.
    QVERIFY(!r.t0Fitted);
    QCOMPARE(r.t0Unidentifiable, releaseTime);
    QCOMPARE(r.t0, 0.0);
    QVERIFY(!r.quadratic);
    QVERIFY(r.reynolds < 1.0);
    QCOMPARE(r.used, 289 - 18 - (excludeGlitches ? 3 : 0) - (range ? 60 : 0));
    const double eta = tube ? r.etaWall : r.eta;
    const double u = tube ? r.etaWallU : r.etaU;
    const double made = tube ? GlycerineFall::viscosity : GlycerineFall::apparentViscosity();
    QVERIFY2((std::fabs(eta - made) <= 2.0 * u) == truth,
             qPrintable(QStringLiteral("η = %1 ± %2, points faits avec %3")
                            .arg(eta, 0, 'g', 6)
                            .arg(u, 0, 'g', 2)
                            .arg(made, 0, 'g', 6)));
    QCOMPARE(r.rmsResidual < 1.5 * GlycerineFall::noise, clean);
    // Only the whole fall shows the trend of a model that does not follow it.
    QCOMPARE(r.warnings.isEmpty(), range);
    if (tube) {
        QVERIFY(r.wallMessage.isEmpty());
        QVERIFY(std::fabs(r.lambda - 10.0 / 62.0) < 1e-12);
    } else {
        QVERIFY(std::isnan(r.etaWall));
    }
    // The ball is one the animation shows: "Appliquer" sets the sphere too.
    QVERIFY(lesson.applied.constFirst().sphereAndFluid);
    QCOMPARE(lesson.applied.constFirst().viscosity, NumberFormat::threeSignificant(eta));
}

QTEST_MAIN(TestShippedExercises)
#include "tst_shippedexercises.moc"
