// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/numberformat.h"
#include "measures/measurementholder.h"
#include "measuresui/mesuresdialog.h"
#include "measuresui/seriespanel.h"
#include "measuresui/seriesplot.h"
#include "support/diskfull.h"
#include "support/pdfpages.h"
#include "support/referencefall.h"
#include "support/scriptedservices.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

// A steel ball's fall in a fluid of viscosity eta, from the independent
// reckoning: 30 points over the time the ball takes to fall about 20 cm at
// Stokes's velocity, each position off by a tenth of a millimetre at most
// (a fixed pseudo-random pattern), as a tracker's table.
QString fallTable(double radius, double density, double eta, int seed)
{
    ReferenceFall::Ball ball;
    ball.radius = radius;
    ball.density = density;
    ball.fluidDensity = 1260.0;
    ball.eta = eta;
    const double stokes = 2.0 / 9.0 * (density - 1260.0) * 9.81 * radius * radius / eta;
    std::vector<double> times;
    for (int i = 0; i < 30; ++i)
        times.push_back(i * (0.2 / stokes) / 29.0);
    const std::vector<double> y = ball.fallen(times);
    QString text = QStringLiteral("t (s)\ty (m)\n");
    unsigned state = 12345u + 977u * unsigned(seed);
    for (size_t i = 0; i < times.size(); ++i) {
        state = state * 1103515245u + 12345u;
        const double noise = 1e-4 * ((state >> 8) % 2001 - 1000.0) / 1000.0;
        text += QStringLiteral("%1\t%2\n").arg(times[i], 0, 'g', 12).arg(y[i] + noise, 0, 'g', 12);
    }
    return text;
}

struct Fixture
{
    ScriptedServices services;
    MeasurementHolder holder;
    std::unique_ptr<MesuresDialog> dialog;

    Fixture()
    {
        dialog = std::make_unique<MesuresDialog>(holder, services);
        dialog->fluidDensity->setText(QStringLiteral("1260"));
        dialog->fluidDensityU->setText(QStringLiteral("2"));
        dialog->massKind->setCurrentIndex(1); // a density, kg/m³
    }
    SeriesPanel &serie() const { return *dialog->serie; }
    // A fall pasted in the first tab with its ball typed, radius in mm.
    void paste(const QString &table, const QString &radiusMm, const QString &density)
    {
        services.clipboard = table;
        QTest::mouseClick(dialog->coller, Qt::LeftButton);
        dialog->radius->setText(radiusMm);
        dialog->radiusU->setText(QStringLiteral("0,005"));
        dialog->mass->setText(density);
        dialog->massU->setText(QStringLiteral("10"));
    }
    void pasteSteel(double radius, double eta, int seed)
    {
        paste(fallTable(radius, 7800.0, eta, seed), NumberFormat::generalDouble(1e3 * radius),
              QStringLiteral("7800"));
    }
    // The same, then "Ajouter la chute".
    void add(const QString &table, const QString &radiusMm, const QString &density)
    {
        paste(table, radiusMm, density);
        QTest::mouseClick(serie().ajouter, Qt::LeftButton);
    }
    void addSteel(double radius, double eta, int seed, double typedRadius = 0.0)
    {
        add(fallTable(radius, 7800.0, eta, seed),
            NumberFormat::generalDouble(1e3 * (typedRadius > 0.0 ? typedRadius : radius)),
            QStringLiteral("7800"));
    }
    // "Rapport…" without a printer: the pages go to a PDF file whose name
    // is asked for, path.
    void printReport(const QString &path)
    {
        services.printerChoice = [](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString());
        };
        services.fileNames.enqueue(path);
        QTest::mouseClick(serie().rapport, Qt::LeftButton);
    }
    QString results() const { return serie().results->toPlainText(); }
    QStringList cells() const
    {
        QStringList all;
        const QAbstractItemModel *model = serie().table->model();
        for (int r = 0; r < model->rowCount(); ++r) {
            for (int c = 0; c < model->columnCount(); ++c)
                all << model->index(r, c).data().toString();
        }
        return all;
    }
    double seriesEta() const
    {
        const QRegularExpressionMatch m
            = QRegularExpression(QStringLiteral("η \\(série\\) = ([0-9,]+) ± ([0-9,]+) Pa·s"))
                  .match(results());
        return m.hasMatch() ? NumberFormat::parse(m.captured(1)).value_or(0.0) : 0.0;
    }
    void clickUsed(int row)
    {
        dialog->show();
        dialog->tabs->setCurrentIndex(1);
        QTableView *table = serie().table;
        const QRect cell = table->visualRect(table->model()->index(row, 6));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    }
};

} // namespace

class TestSeriesPanel : public QObject
{
    Q_OBJECT

private slots:
    void fourRadiiGiveTheTrueEta_data();
    void fourRadiiGiveTheTrueEta();
    void badTrialNamedAndLeftOut();
    void refusedFalls_data();
    void refusedFalls();
    void savedAndReopened();
    void tableExported();
    void reportPrinted();
    void everyControlNamedAndReachable();
    void keptWhenTheWindowCloses();
    void addedFromTheFallTab_data();
    void addedFromTheFallTab();
    void trialsNamedBySource();
    void reportNotWritten();
    void reportOfThreeBeads();
};

void TestSeriesPanel::fourRadiiGiveTheTrueEta_data()
{
    QTest::addColumn<double>("eta");
    QTest::addColumn<QList<double>>("radii"); // m
    // Re from 0,002 to about 1: the drag curve's bend is in the truth.
    QTest::newRow("glycérine, 1 à 4 mm") << 1.2 << QList<double> {1e-3, 2e-3, 3e-3, 4e-3};
    QTest::newRow("huile, 0,5 à 2 mm") << 0.25 << QList<double> {0.5e-3, 1e-3, 1.5e-3, 2e-3};
}

void TestSeriesPanel::fourRadiiGiveTheTrueEta()
{
    QFETCH(double, eta);
    QFETCH(QList<double>, radii);
    Fixture f;
    for (int i = 0; i < radii.size(); ++i)
        f.addSteel(radii[i], eta, i);
    QVERIFY2(f.services.messages.isEmpty(), qPrintable(f.services.messages.value(0).text));
    QCOMPARE(f.serie().table->model()->rowCount(), 4);
    QVERIFY2(std::abs(f.seriesEta() / eta - 1.0) < 0.01, qPrintable(f.results()));
    QVERIFY(f.results().contains(QStringLiteral("Méthode : moyenne pondérée des η des 4 essais")));
    QVERIFY(f.results().contains(QStringLiteral("Aucun essai ne s'écarte des autres de plus de "
                                                "3 u.")));
    // Stokes's law: v∞ = 2(ρs − ρf)g·r²/(9η), the slope of the line at
    // small radii; the drag curve bends under it.
    const SeriesPlotData &plotted = f.serie().plot->data();
    const double slope = 2.0 * (7800.0 - 1260.0) * 9.81 / (9.0 * eta);
    QVERIFY(plotted.curve.size() > 10);
    const SeriesTrials::CurvePoint small = plotted.curve[1];
    QVERIFY(std::abs(small.v / (slope * small.x) - 1.0) < 0.01);
    QVERIFY(plotted.curve.back().v < slope * plotted.curve.back().x);
}

void TestSeriesPanel::badTrialNamedAndLeftOut()
{
    Fixture f;
    for (int i = 0; i < 4; ++i)
        f.addSteel(1e-3 * (i + 1), 1.2, i);
    // The fifth ball's radius typed as 3,3 mm: it is 3 mm.
    f.addSteel(3e-3, 1.2, 4, 3.3e-3);
    QVERIFY2(f.results().contains(QStringLiteral("L'essai 5 (bille de 6,6 mm) s'écarte de ")),
             qPrintable(f.results()));
    QCOMPARE(f.serie().table->model()->index(4, 6).data().toString().left(12),
             QStringLiteral("oui, écart d"));
    const double withIt = f.seriesEta();
    QVERIFY(std::abs(withIt / 1.2 - 1.0) > 0.01);

    // A click on "Retenu" leaves it out; Space takes it back, Enter out again.
    f.clickUsed(4);
    QCOMPARE(f.serie().table->model()->index(4, 6).data().toString(), QStringLiteral("non"));
    QVERIFY2(std::abs(f.seriesEta() / 1.2 - 1.0) < 0.01, qPrintable(f.results()));
    QVERIFY(f.results().contains(QStringLiteral("des 4 essais retenus sur 5")));
    QTest::keyClick(f.serie().table, Qt::Key_Space);
    QCOMPARE(f.seriesEta(), withIt);
    QTest::keyClick(f.serie().table, Qt::Key_Return);
    QCOMPARE(f.serie().table->model()->index(4, 6).data().toString(), QStringLiteral("non"));
}

void TestSeriesPanel::refusedFalls_data()
{
    QTest::addColumn<QString>("fluid");
    QTest::addColumn<QString>("tube");
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("message");
    QTest::newRow("autre fluide")
        << "1250"
        << "" << 0
        << "Cette chute n'a pas le fluide ou le tube de la série (fluide de 1260 kg/m³, sans "
           "tube) : une série se fait dans un seul fluide et un seul tube.";
    QTest::newRow("un tube")
        << "1260"
        << "90" << 0
        << "Cette chute n'a pas le fluide ou le tube de la série (fluide de 1260 kg/m³, sans "
           "tube) : une série se fait dans un seul fluide et un seul tube.";
    QTest::newRow("autre modèle") << "1260"
                                  << "" << 1
                                  << "Cette chute est ajustée avec un autre modèle que les "
                                     "essais de la série : choisir le même modèle.";
}

void TestSeriesPanel::refusedFalls()
{
    QFETCH(QString, fluid);
    QFETCH(QString, tube);
    QFETCH(int, model);
    QFETCH(QString, message);
    Fixture f;
    // Nothing measured yet.
    QTest::mouseClick(f.serie().ajouter, Qt::LeftButton);
    QCOMPARE(f.services.messages.size(), 1);
    QCOMPARE(f.services.messages.at(0).text,
             QStringLiteral("Aucune chute à ajouter : ouvrir un fichier, coller des mesures ou "
                            "suivre une vidéo dans l'onglet « Une chute »."));
    f.addSteel(2e-3, 1.2, 0);
    f.dialog->fluidDensity->setText(fluid);
    f.dialog->tube->setText(tube);
    f.dialog->model->setCurrentIndex(model);
    f.addSteel(3e-3, 1.2, 1);
    QCOMPARE(f.services.messages.size(), 2);
    QCOMPARE(f.services.messages.at(1).title, QStringLiteral("Série"));
    QCOMPARE(f.services.messages.at(1).text, message);
    QCOMPARE(f.serie().entries().size(), size_t(1));
}

void TestSeriesPanel::savedAndReopened()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("classe.txt"));
    double saved = 0.0;
    {
        Fixture f;
        for (int i = 0; i < 3; ++i)
            f.addSteel(1e-3 * (i + 2), 1.2, i);
        f.clickUsed(1);
        saved = f.seriesEta();
        f.services.fileNames.enqueue(path);
        QTest::mouseClick(f.serie().enregistrerSerie, Qt::LeftButton);
        QVERIFY2(f.services.messages.isEmpty(), qPrintable(f.services.messages.value(0).text));
    }
    // Pasted points have no file: they are written beside the series.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY(text.startsWith(QStringLiteral("# Lorva : série de chutes")));
    QVERIFY(text.contains(QStringLiteral("fichier = classe essai 1.csv")));
    QVERIFY(text.contains(QStringLiteral("retenu = non")));
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("classe essai 3.csv"))));

    Fixture g;
    g.services.fileNames.enqueue(path);
    QTest::mouseClick(g.serie().ouvrirSerie, Qt::LeftButton);
    QVERIFY2(g.services.messages.isEmpty(), qPrintable(g.services.messages.value(0).text));
    QCOMPARE(g.serie().entries().size(), size_t(3));
    QVERIFY(!g.serie().entries()[1].trial.used);
    QCOMPARE(g.serie().entries()[2].trial.radius, 4e-3);
    QCOMPARE(g.seriesEta(), saved);

    // A series whose files are all missing leaves the series as it was.
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("classe essai 1.csv"))));
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("classe essai 2.csv"))));
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("classe essai 3.csv"))));
    g.services.fileNames.enqueue(path);
    QTest::mouseClick(g.serie().ouvrirSerie, Qt::LeftButton);
    QCOMPARE(g.services.messages.size(), 1);
    QVERIFY(g.services.messages.at(0).text.startsWith(
        QStringLiteral("Aucun essai de la série « classe.txt » n'a pu être ajusté.\nEssai 1 : "
                       "Impossible d'ouvrir le fichier « classe essai 1.csv ».")));
    QCOMPARE(g.serie().entries().size(), size_t(3));
}

void TestSeriesPanel::tableExported()
{
    QTemporaryDir dir;
    Fixture f;
    for (int i = 0; i < 3; ++i)
        f.addSteel(1e-3 * (i + 2), 1.2, i);
    const QString path = dir.filePath(QStringLiteral("série.csv"));
    f.services.fileNames.enqueue(path);
    QTest::mouseClick(f.serie().exporterSerie, Qt::LeftButton);
    QVERIFY2(f.services.messages.isEmpty(), qPrintable(f.services.messages.value(0).text));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
    QVERIFY(lines.first().contains(QStringLiteral("Essai;Fichier;Rayon (mm);u(rayon) (mm)")));
    QVERIFY(lines.at(3).startsWith(QStringLiteral("3;presse-papiers 3;4;0,005;7800;10;")));
    const QStringList eta = lines.filter(QStringLiteral("η (série, moyenne pondérée)"));
    QCOMPARE(eta.size(), 1);
    const double value = NumberFormat::parse(eta.first().split(QLatin1Char(';')).at(1)).value();
    QVERIFY(std::abs(value / 1.2 - 1.0) < 0.01);
}

void TestSeriesPanel::reportPrinted()
{
    QVERIFY2(PdfPages::available(), "pdftotext (poppler-utils) est nécessaire");
    QTemporaryDir dir;
    Fixture f;
    f.dialog->glycerineCelsius->setText(QStringLiteral("20"));
    for (int i = 0; i < 3; ++i)
        f.addSteel(1e-3 * (i + 2), 1.2, i);
    const QString path = dir.filePath(QStringLiteral("rapport.pdf"));
    f.printReport(path);
    QVERIFY2(f.services.messages.isEmpty(), qPrintable(f.services.messages.value(0).text));
    QCOMPARE(f.services.fileRequests.last().fileName, QStringLiteral("rapport de série.pdf"));
    const int pages = PdfPages::count(path);
    QVERIFY(pages >= 2);
    QString text;
    for (int p = 1; p <= pages; ++p)
        text += PdfPages::text(path, p);
    text.replace(QChar(0x00A0), QLatin1Char(' '));
    const QRegularExpressionMatch m
        = QRegularExpression(QStringLiteral("η \\(série\\) = ([0-9,]+) ± [0-9,]+ Pa·s"))
              .match(text);
    QVERIFY2(m.hasMatch(), qPrintable(text.left(2000)));
    QVERIFY(std::abs(NumberFormat::parse(m.captured(1)).value() / 1.2 - 1.0) < 0.01);
    for (const QString &part :
         {QStringLiteral("Montage"), QStringLiteral("Fluide : masse volumique 1260,0 ± 2,0 kg/m³"),
          QStringLiteral("g = 9,81 m/s²"), QStringLiteral("Référence : η ="),
          QStringLiteral("Écart normalisé : z ="), QStringLiteral("Tableau des essais"),
          QStringLiteral("Essai 3 : presse-papiers 3"), QStringLiteral("rayon de la bille")})
        QVERIFY2(text.contains(part), qPrintable(part));
    // The series' plot and one graph per trial.
    QCOMPARE(PdfPages::images(path).size(), 4);
}

void TestSeriesPanel::everyControlNamedAndReachable()
{
    Fixture f;
    f.addSteel(2e-3, 1.2, 0);
    f.dialog->show();
    f.dialog->tabs->setCurrentIndex(1);
    QVERIFY(QTest::qWaitForWindowExposed(f.dialog.get()));
    QList<QWidget *> controls;
    for (QWidget *w : f.serie().findChildren<QWidget *>()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(f.dialog.get()) && w->isEnabled())
            controls.append(w);
    }
    QVERIFY(controls.size() >= 8);
    QSet<QWidget *> reached;
    QWidget *w = f.serie().ajouter;
    for (int i = 0; i < 4 * controls.size() && w; ++i) {
        reached.insert(w);
        w = w->nextInFocusChain();
    }
    for (QWidget *control : controls) {
        QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
        QVERIFY2(reached.contains(control), qPrintable(control->accessibleName()));
    }
    QVERIFY(!f.serie().plot->accessibleName().isEmpty());
    QVERIFY2(f.serie().plot->accessibleDescription().startsWith(
                 QStringLiteral("v∞ en fonction de r² pour 1 essai, retenu. Pente de la droite "
                                "passant par l'origine : ")),
             qPrintable(f.serie().plot->accessibleDescription()));
}

void TestSeriesPanel::keptWhenTheWindowCloses()
{
    Fixture f;
    for (int i = 0; i < 3; ++i)
        f.addSteel(1e-3 * (i + 2), 1.2, i);
    f.clickUsed(1);
    const QStringList cells = f.cells();
    const QString results = f.results();
    QCOMPARE(cells.size(), 3 * 7);
    QCOMPARE(cells.at(7 + 6), QStringLiteral("non"));
    QVERIFY2(std::abs(f.seriesEta() / 1.2 - 1.0) < 0.01, qPrintable(results));

    // The graph window closes and takes the Mesures window with it; the
    // next one opens on the session's holder.
    f.dialog.reset();
    f.dialog = std::make_unique<MesuresDialog>(f.holder, f.services);
    QCOMPARE(f.serie().entries().size(), size_t(3));
    QVERIFY(!f.serie().entries()[1].trial.used);
    QCOMPARE(f.serie().entries()[2].trial.radius, 4e-3);
    QCOMPARE(f.cells(), cells);
    QCOMPARE(f.results(), results);
    QVERIFY(f.serie().rapport->isEnabled());
    // The series goes on where it was left.
    f.addSteel(5e-3, 1.2, 3);
    QCOMPARE(f.serie().table->model()->rowCount(), 4);
    QCOMPARE(f.serie().table->model()->index(3, 1).data().toString(),
             QStringLiteral("presse-papiers 4"));
    QVERIFY(f.results().contains(QStringLiteral("des 3 essais retenus sur 4")));
}

void TestSeriesPanel::addedFromTheFallTab_data()
{
    QTest::addColumn<int>("gesture"); // 0 a click, 1 Alt+A, 2 Space on the button
    QTest::newRow("clic") << 0;
    QTest::newRow("Alt+A") << 1;
    QTest::newRow("Espace") << 2;
}

void TestSeriesPanel::addedFromTheFallTab()
{
    QFETCH(int, gesture);
    Fixture f;
    f.dialog->show();
    f.dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.dialog.get()));
    QPushButton *button = f.dialog->ajouterSerie;
    QCOMPARE(button->accessibleName(), QStringLiteral("Ajouter la chute ajustée à la série"));
    const auto press = [&] {
        if (gesture == 0) {
            QTest::mouseClick(button, Qt::LeftButton);
        } else if (gesture == 1) {
            QTest::keyClick(f.dialog.get(), Qt::Key_A, Qt::AltModifier);
        } else {
            button->setFocus();
            QTest::keyClick(button, Qt::Key_Space);
        }
    };
    for (int i = 0; i < 2; ++i) {
        f.pasteSteel(1e-3 * (i + 2), 1.2, i);
        // Only a fit that gives η can be added.
        QVERIFY(!button->isEnabled());
        QTest::mouseClick(f.dialog->ajuster, Qt::LeftButton);
        QVERIFY(button->isEnabled());
        press();
        // A mnemonic clicks as the button's animation ends.
        QTRY_COMPARE(f.serie().entries().size(), size_t(i + 1));
        // The trial, its name and the series' η, which the steel balls'
        // falls give as 1,2 Pa·s.
        const QRegularExpressionMatch said
            = QRegularExpression(QStringLiteral("^Essai %1 ajouté à la série : presse-papiers %1 ; "
                                                "η \\(série\\) = ([0-9,]+) ± [0-9,]+ Pa·s\\.$")
                                     .arg(i + 1))
                  .match(f.dialog->status->text());
        QVERIFY2(said.hasMatch(), qPrintable(f.dialog->status->text()));
        QVERIFY(std::abs(NumberFormat::parse(said.captured(1)).value() / 1.2 - 1.0) < 0.01);
    }
    // The group stays on its fall.
    QCOMPARE(f.dialog->tabs->currentIndex(), 0);
    QVERIFY2(f.services.messages.isEmpty(), qPrintable(f.services.messages.value(0).text));

    // The same fall with the same ball again is not a new trial.
    press();
    QTRY_COMPARE(f.services.messages.size(), 1);
    QCOMPARE(f.services.messages.at(0).title, QStringLiteral("Série"));
    QCOMPARE(f.services.messages.at(0).text,
             QStringLiteral("Cette chute, avec cette bille, est déjà l'essai 2 de la série."));
    QCOMPARE(f.serie().entries().size(), size_t(2));
    // Another radius typed for it makes another trial (a ball measured
    // again).
    f.dialog->radius->setText(QStringLiteral("3,01"));
    QTest::mouseClick(f.dialog->ajuster, Qt::LeftButton);
    press();
    QTRY_COMPARE(f.serie().entries().size(), size_t(3));
}

void TestSeriesPanel::trialsNamedBySource()
{
    QTemporaryDir dir;
    Fixture f;
    f.addSteel(2e-3, 1.2, 0);
    f.addSteel(3e-3, 1.2, 1);
    // A file keeps its name.
    const QString path = dir.filePath(QStringLiteral("bille 4 mm.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(fallTable(4e-3, 7800.0, 1.2, 2).toUtf8());
    file.close();
    f.services.fileNames.enqueue(path);
    QTest::mouseClick(f.dialog->ouvrir, Qt::LeftButton);
    f.dialog->radius->setText(QStringLiteral("4"));
    QTest::mouseClick(f.serie().ajouter, Qt::LeftButton);
    // A tracked video hands its points named after the video's file, as
    // the video window does.
    f.pasteSteel(5e-3, 1.2, 3);
    MeasurementSet tracked = f.holder.set();
    tracked.sourceName = QStringLiteral("chute bille 5 mm.mp4");
    f.holder.setSet(tracked);
    QTest::mouseClick(f.serie().ajouter, Qt::LeftButton);
    QVERIFY2(f.services.messages.isEmpty(), qPrintable(f.services.messages.value(0).text));
    const QAbstractItemModel *model = f.serie().table->model();
    QStringList names;
    for (int r = 0; r < model->rowCount(); ++r)
        names << model->index(r, 1).data().toString();
    QCOMPARE(
        names,
        (QStringList {QStringLiteral("presse-papiers 1"), QStringLiteral("presse-papiers 2"),
                      QStringLiteral("bille 4 mm.txt"), QStringLiteral("chute bille 5 mm.mp4")}));
}

void TestSeriesPanel::reportNotWritten()
{
    QTemporaryDir dir;
    Fixture f;
    for (int i = 0; i < 3; ++i)
        f.addSteel(1e-3 * (i + 2), 1.2, i);
    const QString said = f.serie().status->text();
    const QString path = dir.filePath(QStringLiteral("rapport.pdf"));
    {
        // The disk fills up in the middle of the report (its pictures alone
        // take far more than 20 kB).
        const FileSizeLimit limit(20'000);
        QVERIFY(limit.isActive());
        f.printReport(path);
    }
    QCOMPARE(f.services.messages.size(), 1);
    QCOMPARE(f.services.messages.at(0).icon, MessageIcon::Error);
    QCOMPARE(f.services.messages.at(0).title, QStringLiteral("Impression impossible"));
    const QStringList lines = f.services.messages.at(0).text.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0),
             QStringLiteral("Le fichier « %1 » n'a pas pu être écrit.")
                 .arg(QDir::toNativeSeparators(path)));
    QVERIFY(!lines.at(1).trimmed().isEmpty()); // the system's reason
    // No report claimed, none left half written.
    QCOMPARE(f.serie().status->text(), said);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void TestSeriesPanel::reportOfThreeBeads()
{
    QVERIFY2(PdfPages::available(), "pdftotext (poppler-utils) est nécessaire");
    QTemporaryDir dir;
    Fixture f;
    f.dialog->glycerineCelsius->setText(QStringLiteral("20"));
    // Steel beads of 6,31, 4,72 and 3,12 mm in diameter in glycerine.
    const double eta = 1.41;
    const double radii[] = {3.155e-3, 2.36e-3, 1.56e-3};
    for (int i = 0; i < 3; ++i)
        f.addSteel(radii[i], eta, i);
    QVERIFY2(f.services.messages.isEmpty(), qPrintable(f.services.messages.value(0).text));
    const QString path = dir.filePath(QStringLiteral("rapport.pdf"));
    f.printReport(path);
    QVERIFY2(f.services.messages.isEmpty(), qPrintable(f.services.messages.value(0).text));

    // The set-up, the result and the table on the first page, the series'
    // plot under its heading on the second, then one trial a page with its
    // graph and its whole budget (the fit's line last).
    QCOMPARE(PdfPages::count(path), 5);
    const auto page = [&path](int p) {
        return PdfPages::text(path, p).replace(QChar(0x00A0), QLatin1Char(' '));
    };
    const QString first = page(1);
    for (int c = 0; c < 7; ++c) {
        const QString header = f.serie().table->model()->headerData(c, Qt::Horizontal).toString();
        QVERIFY2(first.contains(header), qPrintable(header));
    }
    QVERIFY(first.contains(QStringLiteral("presse-papiers 3")));
    QVERIFY(first.contains(QStringLiteral("1,5600 ± 0,0050")));
    QVERIFY(page(2).trimmed().startsWith(QStringLiteral("v∞ en fonction de r²")));
    QList<int> imagePages;
    for (const auto &image : PdfPages::images(path))
        imagePages << image.first;
    QCOMPARE(imagePages, (QList<int> {2, 3, 4, 5}));
    for (int k = 1; k <= 3; ++k) {
        const QString text = page(k + 2);
        QVERIFY2(text.contains(QStringLiteral("Essai %1 : presse-papiers %1").arg(k)),
                 qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("vitesse limite (ajustement des points)")),
                 qPrintable(text));
    }
    // Nothing runs into the right margin: its outer centimetre (a twentieth
    // of the page's width) is blank on every page.
    for (int p = 1; p <= 5; ++p) {
        const QImage shown = PdfPages::render(path, p, 60, dir.path());
        QVERIFY(!shown.isNull());
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = shown.width() * 19 / 20; x < shown.width(); ++x)
                QVERIFY2(shown.pixel(x, y) == qRgb(255, 255, 255),
                         qPrintable(QStringLiteral("page %1 : (%2, %3)").arg(p).arg(x).arg(y)));
        }
    }
}

QTEST_MAIN(TestSeriesPanel)
#include "tst_seriespanel.moc"
