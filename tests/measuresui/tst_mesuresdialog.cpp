// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/numberformat.h"
#include "measures/columnchoice.h"
#include "measures/fallfit.h"
#include "measures/fitreport.h"
#include "measures/measurementholder.h"
#include "measures/measurementreader.h"
#include "measuresui/histogramview.h"
#include "measuresui/mesuresdialog.h"
#include "support/scriptedservices.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStyle>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A steel ball of 2 mm radius in glycerol, as the main window's fields hold it.
MeasureFieldTexts glycerolFields()
{
    return {QStringLiteral("0,2"), QStringLiteral("0,261"), QStringLiteral("1260"),
            QStringLiteral("1")};
}

FallSetup glycerolSetup()
{
    FallSetup setup;
    setup.radius = 0.002;
    setup.mass = 261e-6;
    setup.fluidDensity = 1260.0;
    return setup;
}

// A tracker's table of the model's fall for viscosity eta: 21 points over 2 s.
QString fallTable(double eta)
{
    QString text = QStringLiteral("t (s)\ty (m)\n");
    for (int i = 0; i <= 20; ++i) {
        const double t = 0.1 * i;
        text += QStringLiteral("%1\t%2\n")
                    .arg(t, 0, 'f', 1)
                    .arg(FallFit::modelAt(glycerolSetup(), eta, 0.0, 0.0, t), 0, 'g', 12);
    }
    return text;
}

struct Fixture
{
    ScriptedServices services;
    MeasurementHolder holder;
    QList<AppliedFit> applied;
    // The main window's fields: "Appliquer" writes them, and the viscosity
    // field keeps its value within 0,000001 … 5 Pa·s as the main window's does.
    MeasureFieldTexts fields = glycerolFields();
    std::unique_ptr<MesuresDialog> dialog;

    Fixture()
    {
        holder.fieldTexts = [this] { return fields; };
        holder.apply = [this](const AppliedFit &fit) {
            applied.append(fit);
            const double eta = NumberFormat::parse(fit.viscosity).value_or(0.0);
            fields.viscosity = eta > 5.0 ? QStringLiteral("5") : fit.viscosity;
            if (fit.sphereAndFluid) {
                fields.radius = fit.radius;
                fields.mass = fit.mass;
                fields.fluidDensity = fit.fluidDensity;
            }
        };
        dialog = std::make_unique<MesuresDialog>(holder, services);
        // The tables of these tests follow the simulator's own law: they are
        // fitted with it, so that their η is the one they were made with.
        dialog->model->setCurrentIndex(1);
    }
    // The window closed and opened again, as the graph window does.
    void reopen()
    {
        dialog.reset();
        dialog = std::make_unique<MesuresDialog>(holder, services);
    }
    void paste(const QString &text)
    {
        services.clipboard = text;
        QTest::mouseClick(dialog->coller, Qt::LeftButton);
    }
    // "Exporter en CSV…" into path: the bytes written, empty when none were.
    QByteArray exported(const QString &path)
    {
        services.fileNames.enqueue(path);
        QTest::mouseClick(dialog->exporter, Qt::LeftButton);
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void clickRow(int row, bool twice = true)
    {
        dialog->show();
        const QModelIndex index = dialog->points->model()->index(row, 0);
        const QRect cell = dialog->points->visualRect(index);
        QTest::mouseClick(dialog->points->viewport(), Qt::LeftButton, {}, cell.center());
        if (twice)
            QTest::mouseDClick(dialog->points->viewport(), Qt::LeftButton, {}, cell.center());
    }
};

} // namespace

class TestMesuresDialog : public QObject
{
    Q_OBJECT

private slots:
    void pasted_data();
    void pasted();
    void fromAFile();
    void anotherColumnBringsItsUnit();
    void failedImportKeepsTheSet_data();
    void failedImportKeepsTheSet();
    void emptyClipboardKeepsTheSet();
    void prefilledInTheDialogsUnits();
    void excludedRowLeavesTheFit();
    void applyGivesThreeDigits();
    void copyAndExport();
    void failedExportIsReported();
    void everyControlNamedAndReachable();
    void typedRangeReachesTheHolder_data();
    void typedRangeReachesTheHolder();
    void draggedRangeShownInTheFields();
    void videoReplacesTheTable();
    void keptAcrossReopenings();
    void newSetClearsTheOldOnesWork();
    void applyReport_data();
    void applyReport();
    void severalFilesRefused();
    void fieldMessages_data();
    void fieldMessages();
    void diameterTypedAsRadius();
    void besideTheGraphWindow();
    void combinedUncertainty_data();
    void combinedUncertainty();
    void budgetLargestFirst();
    void uncertaintyFollowsItsValue();
    void unreadableUncertainty_data();
    void unreadableUncertainty();
    void monteCarloHistogram();
    void glycerineReference();
    void exportHoldsTheBudget();
    void unitChecksShown();
    void wholeSourceAndCells_data();
    void wholeSourceAndCells();
    void exportSaysTheLaw_data();
    void exportSaysTheLaw();
};

// "Mesures" stays open beside the graph window, which keeps the mouse (a
// drag there sets the range, which the open window shows at once); one
// window for every click of the graph window's tool.
void TestMesuresDialog::besideTheGraphWindow()
{
    ScriptedServices services;
    MeasurementHolder holder;
    holder.fieldTexts = glycerolFields;
    QDialog graphWindow;
    graphWindow.setGeometry(100, 100, 400, 300);
    graphWindow.show();
    MesuresDialog *mesures = MesuresDialog::showBeside(holder, services, &graphWindow);
    QVERIFY(mesures->isVisible());
    QVERIFY(!mesures->isModal());
    QCOMPARE(mesures->parent(), &graphWindow);
    holder.setFitRange({0.25, 1.75}); // as a drag on the graph sets it
    QCOMPARE(mesures->tMin->text(), QStringLiteral("0,25"));
    QCOMPARE(mesures->tMax->text(), QStringLiteral("1,75"));
    mesures->close();
    QCOMPARE(MesuresDialog::showBeside(holder, services, &graphWindow), mesures);
    QVERIFY(mesures->isVisible());
    // Beside the graph window when the screen has room; never left of it.
    const QRect screen = graphWindow.screen()->availableGeometry();
    if (graphWindow.frameGeometry().right() + mesures->width() < screen.right())
        QVERIFY(mesures->x() > graphWindow.frameGeometry().right());
    QVERIFY(mesures->x() >= std::min(graphWindow.x(), screen.right() - mesures->width()));
}

void TestMesuresDialog::keptAcrossReopenings()
{
    Fixture f;
    f.paste(QStringLiteral("t (s)\ty (mm)\tz (cm)\n0\t0\t0\n1\t10\t2\n2\t20\t4\n3\t30\t6\n"));
    f.dialog->positionColumn->setCurrentIndex(1); // y, in mm
    const auto type = [](QLineEdit *field, const QString &text) {
        field->clear();
        QTest::keyClicks(field, text);
    };
    type(f.dialog->radius, QStringLiteral("3,155"));
    f.dialog->massKind->setCurrentIndex(1);
    type(f.dialog->mass, QStringLiteral("7800"));
    type(f.dialog->fluidDensity, QStringLiteral("1261"));
    type(f.dialog->tube, QStringLiteral("30"));
    f.dialog->releaseTime->setChecked(true);
    f.dialog->model->setCurrentIndex(1);
    f.fields.radius = QStringLiteral("3,5"); // the main window changed meanwhile
    f.reopen();
    QCOMPARE(f.dialog->radius->text(), QStringLiteral("3,155"));
    QCOMPARE(f.dialog->massKind->currentIndex(), 1);
    QCOMPARE(f.dialog->mass->text(), QStringLiteral("7800"));
    QCOMPARE(f.dialog->fluidDensity->text(), QStringLiteral("1261"));
    QCOMPARE(f.dialog->tube->text(), QStringLiteral("30"));
    QVERIFY(f.dialog->releaseTime->isChecked());
    QCOMPARE(f.dialog->model->currentText(), QStringLiteral("loi de Stokes (celle du simulateur)"));
    // The table's columns can still be chosen, on the choice left.
    QVERIFY(f.dialog->positionColumn->isEnabled());
    QVERIFY(f.dialog->lengthUnit->isEnabled());
    QCOMPARE(f.dialog->positionColumn->currentIndex(), 1);
    QCOMPARE(f.dialog->lengthUnit->currentText(), QStringLiteral("mm"));
    f.dialog->lengthUnit->setCurrentIndex(f.dialog->lengthUnit->findText(QStringLiteral("cm")));
    QVERIFY(std::abs(f.holder.set().points.back().y - 0.3) < 1e-12); // 30 cm
    QVERIFY(f.services.messages.isEmpty());

    // A fit is shown again on reopening, until a value it was made on changes.
    Fixture g;
    g.paste(fallTable(1.2));
    QTest::mouseClick(g.dialog->ajuster, Qt::LeftButton);
    const QString shown = g.dialog->results->toPlainText();
    g.reopen();
    QCOMPARE(g.dialog->results->toPlainText(), shown);
    QVERIFY(g.dialog->appliquer->isEnabled());
    QTest::keyClicks(g.dialog->radius, QStringLiteral("5"));
    QVERIFY(!g.dialog->appliquer->isEnabled());
    QVERIFY(!g.holder.lastFit());
}

void TestMesuresDialog::newSetClearsTheOldOnesWork()
{
    Fixture f;
    f.paste(fallTable(1.2));
    f.holder.setFitRange({0.3, 1.7});
    f.clickRow(4);
    QTest::mouseClick(f.dialog->ajuster, Qt::LeftButton);
    QVERIFY(f.holder.lastFit());
    QVERIFY(!f.dialog->results->toPlainText().isEmpty());
    // A shorter set, whose times the old range would cut to two points.
    f.paste(QStringLiteral("t\ty\n0\t0\n0,05\t0,001\n0,1\t0,003\n0,15\t0,005\n0,2\t0,007\n"));
    QVERIFY(f.services.messages.isEmpty());
    QVERIFY(f.holder.fitRange().isOpen());
    QVERIFY(f.dialog->tMin->text().isEmpty());
    QVERIFY(f.dialog->tMax->text().isEmpty());
    QVERIFY(!f.holder.lastFit());
    QVERIFY(f.dialog->results->toPlainText().isEmpty());
    QVERIFY(!f.dialog->appliquer->isEnabled());
    QCOMPARE(f.dialog->status->text(),
             QStringLiteral("Nouvelles mesures : ce qui appartenait aux précédentes est effacé "
                            "(plage d'ajustement, résultats, points exclus)."));
    QVERIFY(!f.dialog->undo->isEnabled());
    // A set after a set with nothing to drop says nothing.
    f.paste(QStringLiteral("t\ty\n0\t0\n0,1\t0,002\n0,2\t0,006\n"));
    QVERIFY(f.dialog->status->text().isEmpty());
}

void TestMesuresDialog::applyReport_data()
{
    QTest::addColumn<double>("eta");   // of the measured fall, Pa·s
    QTest::addColumn<QString>("tube"); // mm
    QTest::addColumn<bool>("applied");
    QTest::addColumn<QString>("viscosityField"); // after "Appliquer"
    QTest::addColumn<QString>("report");         // its first line
    QTest::newRow("495 Pa·s, beyond the field")
        << 495.0 << QString() << false << QStringLiteral("1")
        << QStringLiteral("η = 495 Pa·s n'est pas appliquée : la viscosité du simulateur va de "
                          "1E-06 à 5 Pa·s. Rien n'a été changé.");
    QTest::newRow("1,2 Pa·s, free fall")
        << 1.2 << QString() << true << QStringLiteral("1,2")
        << QStringLiteral("Appliqué au simulateur : η = 1,2 Pa·s.");
    QTest::newRow("1,2 Pa·s in a 20 mm tube") << 1.2 << QStringLiteral("20") << true << QString()
                                              << QStringLiteral("Appliqué au simulateur : η = ");
}

void TestMesuresDialog::applyReport()
{
    QFETCH(double, eta);
    QFETCH(QString, tube);
    QFETCH(bool, applied);
    QFETCH(QString, viscosityField);
    QFETCH(QString, report);
    Fixture f;
    f.paste(fallTable(eta));
    f.dialog->tube->setText(tube);
    QTest::mouseClick(f.dialog->ajuster, Qt::LeftButton);
    QVERIFY2(f.dialog->result().hasEta(), qPrintable(f.dialog->results->toPlainText()));
    QTest::mouseClick(f.dialog->appliquer, Qt::LeftButton);
    QCOMPARE(f.applied.size(), applied ? 1 : 0);
    if (!viscosityField.isEmpty())
        QCOMPARE(f.fields.viscosity, viscosityField);
    const QStringList lines = f.dialog->status->text().split(QLatin1Char('\n'));
    QVERIFY2(lines[0].startsWith(report), qPrintable(lines[0]));
    if (!applied)
        return;
    // The 2 mm ball is below the radius field's range: the sphere is left,
    // and the report says why.
    QCOMPARE(lines.value(1),
             QStringLiteral("La bille et le fluide du simulateur sont laissés tels quels :"));
    QVERIFY(lines.value(2).startsWith(QStringLiteral("Le rayon (0,2 cm) est hors de la plage")));
    const bool walls = !tube.isEmpty();
    const QString last = lines.constLast();
    QCOMPARE(last.startsWith(QStringLiteral("Le simulateur utilise la loi de Stokes")), walls);
    if (!walls)
        return;
    // The simulator's Stokes limit velocity with the applied η, from the
    // main window's fields (r = 2 mm, m = 261 mg, ρ = 1260 kg/m³, g = 9,8):
    // (m − ρ·V)·g / (6π·η·r).
    const double r = 0.002, m = 261e-6, rho = 1260.0;
    const double etaApplied = NumberFormat::parse(f.fields.viscosity).value();
    const double volume = 4.0 / 3.0 * 3.1415927 * r * r * r;
    const double vlim = (m - rho * volume) * 9.8 / (6.0 * 3.1415927 * etaApplied * r);
    QVERIFY2(last.contains(QStringLiteral("avec η = %1 Pa·s, sa vitesse limite est %2 m/s, la "
                                          "chute mesurée")
                               .arg(f.fields.viscosity, NumberFormat::significant(vlim, 3))),
             qPrintable(last));
    QVERIFY(last.contains(QStringLiteral("le tube freine la bille")));
}

void TestMesuresDialog::severalFilesRefused()
{
    QTemporaryDir dir;
    QStringList paths;
    for (const char *name : {"essai1.txt", "essai2.txt"}) {
        paths << dir.filePath(QString::fromLatin1(name));
        QFile file(paths.constLast());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(fallTable(1.2).toUtf8());
    }
    Fixture f;
    f.paste(QStringLiteral("t\ty\n0\t0\n0.1\t0.01\n0.2\t0.02\n"));
    f.services.fileLists.enqueue(paths);
    QTest::mouseClick(f.dialog->ouvrir, Qt::LeftButton);
    // The first open starts in the user's documents, never the program's folders.
    QCOMPARE(f.services.fileRequests.at(0).directory,
             QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    QCOMPARE(f.services.messages.size(), 1);
    QCOMPARE(f.services.messages[0].text,
             QStringLiteral("2 fichiers sont choisis : ouvrez un seul fichier de mesures à la "
                            "fois. Aucun n'a été lu."));
    QCOMPARE(f.holder.set().points.size(), size_t(3)); // the pasted set stays
}

void TestMesuresDialog::fieldMessages_data()
{
    QTest::addColumn<QString>("radius");
    QTest::addColumn<QString>("mass");
    QTest::addColumn<QString>("fluid");
    QTest::addColumn<QString>("message");
    QTest::newRow("radius empty") << QString() << QStringLiteral("261") << QStringLiteral("1260")
                                  << QStringLiteral("Le rayon de la bille n'est pas indiqué.");
    QTest::newRow("radius not a number")
        << QStringLiteral("deux") << QStringLiteral("261") << QStringLiteral("1260")
        << QStringLiteral("Le rayon de la bille n'est pas un nombre.");
    QTest::newRow("mass empty") << QStringLiteral("2") << QStringLiteral(" ")
                                << QStringLiteral("1260")
                                << QStringLiteral("La masse de la bille n'est pas indiquée.");
    QTest::newRow("fluid empty") << QStringLiteral("2") << QStringLiteral("261") << QString()
                                 << QStringLiteral(
                                        "La masse volumique du fluide n'est pas indiquée.");
}

void TestMesuresDialog::fieldMessages()
{
    QFETCH(QString, radius);
    QFETCH(QString, mass);
    QFETCH(QString, fluid);
    QFETCH(QString, message);
    Fixture f;
    f.paste(fallTable(1.2));
    f.dialog->radius->setText(radius);
    f.dialog->mass->setText(mass);
    f.dialog->fluidDensity->setText(fluid);
    QTest::mouseClick(f.dialog->ajuster, Qt::LeftButton);
    QCOMPARE(f.services.messages.size(), 1);
    QCOMPARE(f.services.messages[0].text, message);
}

void TestMesuresDialog::diameterTypedAsRadius()
{
    Fixture f;
    // 261 mg in a 2 mm radius: 261e-6 / (4/3·π·0,002³) = 7789 kg/m³, steel.
    QCOMPARE(f.dialog->ballHint->text(),
             QStringLiteral("Masse volumique de la bille : 7790 kg/m³ (si ce rayon était le "
                            "diamètre : 62300 kg/m³)"));
    f.dialog->radius->setText(QStringLiteral("4")); // the diameter, typed as the radius
    QCOMPARE(f.dialog->ballHint->text(),
             QStringLiteral("Masse volumique de la bille : 974 kg/m³ (si ce rayon était le "
                            "diamètre : 7790 kg/m³)"));
    // The field holds a class's longest mass in mg whole.
    f.dialog->show();
    f.dialog->mass->setText(QStringLiteral("145000"));
    QVERIFY(f.dialog->mass->width()
            > f.dialog->mass->fontMetrics().horizontalAdvance(QStringLiteral("145000")) + 8);
}

void TestMesuresDialog::pasted_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("drop"); // last position minus the first, m
    QTest::newRow("tabs, metres") << QStringLiteral("t\ty\n0\t0\n0.1\t0.01\n0.2\t0.02\n") << 3
                                  << 0.02;
    QTest::newRow("semicolons, comma, millimetres")
        << QStringLiteral("t (s);y (mm)\r\n0;0\r\n0,5;12,5\r\n1;25\r\n1,5;37,5\r\n") << 4 << 0.0375;
    QTest::newRow("upward axis") << QStringLiteral("t (s),y (m)\n0,1\n1,0.9\n2,0.8\n") << 3 << 0.2;
}

void TestMesuresDialog::pasted()
{
    QFETCH(QString, text);
    QFETCH(int, count);
    QFETCH(double, drop);
    Fixture f;
    f.paste(text);
    QVERIFY2(f.services.messages.isEmpty(), qPrintable(f.services.messages.value(0).text));
    QCOMPARE(int(f.holder.set().points.size()), count);
    QCOMPARE(f.holder.set().sourceName, QStringLiteral("presse-papiers 1"));
    const auto &points = f.holder.set().points;
    QVERIFY(std::abs(points.back().y - points.front().y - drop) < 1e-12);
    QCOMPARE(f.dialog->points->model()->rowCount(), count);
    QVERIFY(f.dialog->positionColumn->isEnabled());
}

void TestMesuresDialog::fromAFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bille.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(fallTable(1.2).toUtf8());
    file.close();
    Fixture f;
    f.services.fileNames.enqueue(path);
    QTest::mouseClick(f.dialog->ouvrir, Qt::LeftButton);
    QVERIFY(f.services.messages.isEmpty());
    QCOMPARE(f.services.fileRequests.size(), 1);
    QCOMPARE(f.holder.set().points.size(), size_t(21));
    QCOMPARE(f.holder.set().sourceName, QStringLiteral("bille.txt"));
    QCOMPARE(f.holder.set().points[3].source, 5); // the header is line 1

    // A cancelled dialog changes nothing; the dialog opened where the last
    // file was.
    QTest::mouseClick(f.dialog->ouvrir, Qt::LeftButton);
    QCOMPARE(f.holder.set().points.size(), size_t(21));
    QVERIFY(f.services.messages.isEmpty());
    QCOMPARE(f.services.fileRequests.at(1).directory, dir.path());
}

void TestMesuresDialog::anotherColumnBringsItsUnit()
{
    Fixture f;
    f.paste(QStringLiteral("t (s)\ty (mm)\tz (cm)\n0\t0\t0\n1\t10\t2\n2\t20\t4\n3\t30\t6\n"));
    const auto drop = [&f] {
        const auto &points = f.holder.set().points;
        return points.back().y - points.front().y;
    };
    QCOMPARE(f.dialog->positionColumn->currentIndex(), 2); // the column that moves most
    QCOMPARE(f.dialog->lengthUnit->currentText(), QStringLiteral("cm"));
    QVERIFY(std::abs(drop() - 0.06) < 1e-12);

    f.dialog->positionColumn->setCurrentIndex(1);
    QCOMPARE(f.dialog->lengthUnit->currentText(), QStringLiteral("mm"));
    QVERIFY(std::abs(drop() - 0.03) < 1e-12);

    f.dialog->lengthUnit->setCurrentIndex(f.dialog->lengthUnit->findText(QStringLiteral("m")));
    QVERIFY(std::abs(drop() - 30.0) < 1e-9);
    f.dialog->timeUnit->setCurrentIndex(f.dialog->timeUnit->findText(QStringLiteral("ms")));
    QVERIFY(std::abs(f.holder.set().points.back().t - 0.003) < 1e-15);
    QVERIFY(f.services.messages.isEmpty());
}

void TestMesuresDialog::failedImportKeepsTheSet_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("binary") << QByteArray("\x00\x01\x02\xff\xfe\x00\x13", 7);
    QTest::newRow("text without numbers") << QByteArray("bonjour\nau revoir\n");
    QTest::newRow("times going back") << QByteArray("t\ty\n0\t0\n1\t1\n0.5\t2\n");
}

void TestMesuresDialog::failedImportKeepsTheSet()
{
    QFETCH(QByteArray, bytes);
    Fixture f;
    f.paste(QStringLiteral("t\ty\n0\t0\n0.1\t0.01\n0.2\t0.02\n"));
    QCOMPARE(f.holder.set().points.size(), size_t(3));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mauvais.csv"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    f.services.fileNames.enqueue(path);
    QTest::mouseClick(f.dialog->ouvrir, Qt::LeftButton);

    QCOMPARE(f.services.messages.size(), 1);
    QCOMPARE(f.services.messages[0].title, QStringLiteral("Mesures"));
    QCOMPARE(f.services.messages[0].icon, MessageIcon::Error);
    QVERIFY(!f.services.messages[0].text.isEmpty());
    MeasurementReader reader;
    if (!reader.read(bytes))
        QCOMPARE(f.services.messages[0].text, reader.errorString());
    QCOMPARE(f.holder.set().points.size(), size_t(3));
    QCOMPARE(f.holder.set().sourceName, QStringLiteral("presse-papiers 1"));
    QCOMPARE(f.dialog->positionColumn->count(), 2); // the columns of the kept table
}

void TestMesuresDialog::emptyClipboardKeepsTheSet()
{
    Fixture f;
    f.paste(QStringLiteral("t\ty\n0\t0\n0.1\t0.01\n0.2\t0.02\n"));
    f.paste(QString());
    QCOMPARE(f.services.messages.size(), 1);
    QCOMPARE(f.services.messages[0].icon, MessageIcon::Error);
    QCOMPARE(f.services.messages[0].title, QStringLiteral("Mesures"));
    QCOMPARE(f.services.messages[0].text,
             QStringLiteral("Le presse-papiers ne contient pas de texte."));
    QCOMPARE(f.holder.set().points.size(), size_t(3));
    QCOMPARE(f.dialog->points->model()->rowCount(), 3);
}

void TestMesuresDialog::prefilledInTheDialogsUnits()
{
    Fixture f;
    QCOMPARE(f.dialog->radius->text(), QStringLiteral("2")); // 0,2 cm
    QCOMPARE(f.dialog->mass->text(), QStringLiteral("261")); // 0,261 g
    QCOMPARE(f.dialog->fluidDensity->text(), QStringLiteral("1260"));
}

void TestMesuresDialog::excludedRowLeavesTheFit()
{
    Fixture f;
    f.paste(fallTable(1.2));
    QVERIFY(!f.holder.lastFit());
    QTest::mouseClick(f.dialog->ajuster, Qt::LeftButton);
    QVERIFY2(f.dialog->result().hasEta(), qPrintable(f.dialog->results->toPlainText()));
    QCOMPARE(f.dialog->result().used, 21);
    // Kept for the residuals under the graph, until the points change.
    QVERIFY(f.holder.lastFit());
    QCOMPARE(f.holder.lastFit()->used, 21);
    QCOMPARE(f.holder.lastFit()->eta, f.dialog->result().eta);

    // One click only selects the row; a double click leaves the point out.
    f.clickRow(5, false);
    QVERIFY(f.holder.set().points[5].included());
    QVERIFY(f.holder.lastFit());
    f.clickRow(5);
    QCOMPARE(f.holder.set().points[5].exclusion, MeasuredPoint::Exclusion::User);
    QVERIFY(!f.holder.lastFit());
    QVERIFY(!f.dialog->appliquer->isEnabled()); // the result no longer matches the points
    QTest::mouseClick(f.dialog->ajuster, Qt::LeftButton);
    QCOMPARE(f.dialog->result().used, 20);
    QVERIFY(!f.dialog->result().points[5].used);

    // A second click takes the point back; Space does the same from the keyboard.
    f.clickRow(5);
    QVERIFY(f.holder.set().points[5].included());
    f.dialog->points->setFocus();
    f.dialog->points->setCurrentIndex(f.dialog->points->model()->index(7, 0));
    QTest::keyClick(f.dialog->points, Qt::Key_Space);
    QCOMPARE(f.holder.set().points[7].exclusion, MeasuredPoint::Exclusion::User);
    QTest::keyClick(f.dialog->points, Qt::Key_Space);
    QVERIFY(f.holder.set().points[7].included());
    // Ctrl+Z undoes, last first: 7 left out again, then taken back by the
    // next undo; the undo of the first exclusion brings back 5's state.
    QTest::keyClick(f.dialog->points, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.holder.set().points[7].exclusion, MeasuredPoint::Exclusion::User);
    QTest::keyClick(f.dialog->points, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(f.holder.set().points[7].included());
    f.clickRow(5);
    QCOMPARE(f.holder.set().points[5].exclusion, MeasuredPoint::Exclusion::User);
    QTest::mouseClick(f.dialog->undo, Qt::LeftButton);
    QVERIFY(f.holder.set().points[5].included());
    QTest::mouseClick(f.dialog->ajuster, Qt::LeftButton);
    QCOMPARE(f.dialog->result().used, 21);
}

void TestMesuresDialog::applyGivesThreeDigits()
{
    Fixture f;
    f.paste(fallTable(1.23456));
    QTest::mouseClick(f.dialog->appliquer, Qt::LeftButton);
    QVERIFY(f.applied.isEmpty()); // nothing fitted yet
    QTest::mouseClick(f.dialog->ajuster, Qt::LeftButton);
    QVERIFY(f.dialog->appliquer->isEnabled());
    QTest::mouseClick(f.dialog->appliquer, Qt::LeftButton);
    QCOMPARE(f.applied.size(), 1);
    QCOMPARE(f.applied[0].viscosity, QStringLiteral("1,23"));
    QCOMPARE(f.applied[0].radius, QStringLiteral("0,2"));
    QCOMPARE(f.applied[0].mass, QStringLiteral("0,261"));
    QCOMPARE(f.applied[0].fluidDensity, QStringLiteral("1260"));
    QVERIFY(!f.applied[0].sphereAndFluid); // a 2 mm ball is below the radius field's range
}

void TestMesuresDialog::copyAndExport()
{
    Fixture f;
    f.paste(fallTable(1.2));
    QVERIFY(!f.dialog->copier->isEnabled());
    f.dialog->tube->setText(QStringLiteral("40"));
    f.holder.setFitRange({0.1, 1.9});
    QTest::mouseClick(f.dialog->ajuster, Qt::LeftButton);
    QTest::mouseClick(f.dialog->copier, Qt::LeftButton);
    // The results as the window shows them, then the inputs they were
    // fitted with. With no "±" typed, the combined u is the fit's own.
    QVERIFY(f.services.clipboardText.startsWith(f.dialog->resultLines().join(QLatin1Char('\n'))));
    QCOMPARE(f.services.clipboardText.section(QLatin1Char('\n'), 0, 0),
             FitReport::text(f.dialog->result()).section(QLatin1Char('\n'), 0, 0));
    // The points follow the law with η = 1,2 Pa·s to twelve digits: the value
    // copied is that one to its last digit shown, not merely a text that
    // starts alike (1,25 or 1,2 × 10 would).
    const QString copied = f.services.clipboardText;
    QVERIFY2(copied.startsWith(QStringLiteral("η = ")), qPrintable(copied));
    const QString number = copied.mid(4).section(QLatin1Char(' '), 0, 0);
    bool read = false;
    const double eta = QString(number).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&read);
    QVERIFY2(read, qPrintable(copied));
    QVERIFY2(qAbs(eta - 1.2) <= 5e-4, qPrintable(copied));
    for (const QString &line :
         {QStringLiteral("Mesures : presse-papiers 1 (21 points)"),
          QStringLiteral("Rayon de la bille : 2 mm"), QStringLiteral("Masse de la bille : 261 mg"),
          QStringLiteral("Masse volumique du fluide : 1260 kg/m³"),
          QStringLiteral("Diamètre du tube : 40 mm"),
          QStringLiteral("Plage d'ajustement : de 0,1 s à 1,9 s")})
        QVERIFY2(f.services.clipboardText.contains(line + QLatin1Char('\n')), qPrintable(line));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ajustement.csv"));
    f.services.fileNames.enqueue(path);
    QTest::mouseClick(f.dialog->exporter, Qt::LeftButton);
    QVERIFY(f.services.messages.isEmpty());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QString text = QString::fromUtf8(bytes);
    QVERIFY(text.contains(QStringLiteral("η = 1,2")));
    QVERIFY(text.contains(QStringLiteral("Rayon de la bille : 2 mm\r\n")));
    QVERIFY(text.contains(QStringLiteral("Plage d'ajustement : de 0,1 s à 1,9 s\r\n")));
    QVERIFY(text.contains(QStringLiteral("t;y;résidu\r\ns;m;mm\r\n")));

    // The reader (the command's) takes the export back as a table of the
    // same points, time and position chosen by themselves.
    MeasurementReader reader;
    QVERIFY2(reader.read(bytes), qPrintable(reader.errorString()));
    const MeasurementTable table = reader.takeTable();
    QString why;
    const std::optional<MeasurementSet> back = toMeasurementSet(table, defaultChoice(table), &why);
    QVERIFY2(back, qPrintable(why));
    QCOMPARE(back->points.size(), size_t(21));
    for (int i = 0; i <= 20; ++i) {
        QVERIFY(std::abs(back->points[size_t(i)].t - 0.1 * i) < 1e-12);
        const double y = FallFit::modelAt(glycerolSetup(), 1.2, 0.0, 0.0, 0.1 * i);
        QVERIFY(std::abs(back->points[size_t(i)].y - y) < 1e-9);
    }
    // And so does the window, from "Ouvrir un fichier de mesures…".
    Fixture again;
    again.services.fileNames.enqueue(path);
    QTest::mouseClick(again.dialog->ouvrir, Qt::LeftButton);
    QVERIFY2(again.services.messages.isEmpty(), qPrintable(again.services.messages.value(0).text));
    QCOMPARE(again.holder.set().points.size(), size_t(21));
    QCOMPARE(again.dialog->positionColumn->currentText(), QStringLiteral("y"));
}

void TestMesuresDialog::failedExportIsReported()
{
    Fixture f;
    f.paste(fallTable(1.2));
    QTest::mouseClick(f.dialog->ajuster, Qt::LeftButton);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("absent/ajustement.csv"));
    f.services.fileNames.enqueue(path);
    QTest::mouseClick(f.dialog->exporter, Qt::LeftButton);
    QCOMPARE(f.services.messages.size(), 1);
    QString expected;
    QVERIFY(!FitReport::writeCsv(path, f.holder.set(), f.dialog->result(), &expected));
    QCOMPARE(f.services.messages[0].text, expected);
    QVERIFY(!QFile::exists(path));
}

void TestMesuresDialog::everyControlNamedAndReachable()
{
    Fixture f;
    f.paste(fallTable(1.2));
    QTest::mouseClick(f.dialog->ajuster, Qt::LeftButton);
    f.dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.dialog.get()));
    QList<QWidget *> controls;
    for (QWidget *w : f.dialog->findChildren<QWidget *>()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(f.dialog.get()) && w->isEnabled())
            controls.append(w);
    }
    QVERIFY(controls.size() >= 18);
    QSet<QWidget *> reached;
    QWidget *w = f.dialog->ouvrir;
    for (int i = 0; i < 4 * controls.size() && w; ++i) {
        reached.insert(w);
        w = w->nextInFocusChain();
    }
    // A label with an access key leads to its control.
    for (QLabel *label : f.dialog->findChildren<QLabel *>()) {
        if (label->text().contains(QLatin1Char('&')))
            QVERIFY2(label->buddy(), qPrintable(label->text()));
    }
    for (QWidget *control : controls) {
        QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
        QVERIFY2(reached.contains(control), qPrintable(control->accessibleName()));
    }
}

void TestMesuresDialog::typedRangeReachesTheHolder_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<double>("tMin"); // NaN: open
    QTest::addColumn<double>("tMax");
    QTest::addColumn<int>("used"); // of the 21 points at 0, 0,1 … 2 s
    const double open = std::nan("");
    QTest::newRow("both bounds") << QStringLiteral("0,3") << QStringLiteral("1,4") << 0.3 << 1.4
                                 << 12;
    QTest::newRow("a point as decimal mark")
        << QStringLiteral("0.3") << QStringLiteral("1.4") << 0.3 << 1.4 << 12;
    QTest::newRow("open start") << QString() << QStringLiteral("1") << open << 1.0 << 11;
    QTest::newRow("open end") << QStringLiteral("1,5") << QString() << 1.5 << open << 6;
    QTest::newRow("open on both sides") << QString() << QString() << open << open << 21;
}

void TestMesuresDialog::typedRangeReachesTheHolder()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(double, tMin);
    QFETCH(double, tMax);
    QFETCH(int, used);
    Fixture f;
    f.paste(fallTable(1.2));
    f.holder.setFitRange({0.9, 1.1}); // a range dragged earlier on the graph
    const auto type = [](QLineEdit *field, const QString &text) {
        field->clear();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return); // the field is left with its text
    };
    type(f.dialog->tMin, from);
    type(f.dialog->tMax, to);
    const FitRange range = f.holder.fitRange();
    QCOMPARE(std::isfinite(range.tMin), !std::isnan(tMin));
    QCOMPARE(std::isfinite(range.tMax), !std::isnan(tMax));
    if (std::isfinite(range.tMin))
        QCOMPARE(range.tMin, tMin);
    if (std::isfinite(range.tMax))
        QCOMPARE(range.tMax, tMax);
    QTest::mouseClick(f.dialog->ajuster, Qt::LeftButton);
    QCOMPARE(f.dialog->result().used, used);
    QCOMPARE(f.holder.lastFit()->used, used);
}

void TestMesuresDialog::draggedRangeShownInTheFields()
{
    Fixture f;
    f.paste(fallTable(1.2));
    f.holder.setFitRange({0.25, 1.75});
    QCOMPARE(f.dialog->tMin->text(), QStringLiteral("0,25"));
    QCOMPARE(f.dialog->tMax->text(), QStringLiteral("1,75"));
    QTest::mouseClick(f.dialog->ajuster, Qt::LeftButton);
    QCOMPARE(f.dialog->result().used, 15); // 0,3 … 1,7 s
    // An unreadable bound stays typed, is not shared, and "Ajuster" reports it.
    f.dialog->tMax->clear();
    QTest::keyClicks(f.dialog->tMax, QStringLiteral("fin"));
    QTest::keyClick(f.dialog->tMax, Qt::Key_Return);
    QCOMPARE(f.holder.fitRange().tMax, 1.75);
    QTest::mouseClick(f.dialog->ajuster, Qt::LeftButton);
    QCOMPARE(f.services.messages.size(), 1);
    QCOMPARE(f.services.messages[0].text,
             QStringLiteral("Les bornes de l'ajustement ne sont pas des nombres."));
    QVERIFY(!f.holder.lastFit());
    // Reopened, the dialog shows the shared range.
    MesuresDialog again(f.holder, f.services);
    QCOMPARE(again.tMin->text(), QStringLiteral("0,25"));
    QCOMPARE(again.tMax->text(), QStringLiteral("1,75"));
}

void TestMesuresDialog::videoReplacesTheTable()
{
    {
        Fixture f;
        QVERIFY(!f.dialog->video->isVisibleTo(f.dialog.get())); // no video window to open
    }
    ScriptedServices services;
    MeasurementHolder holder;
    holder.fieldTexts = glycerolFields;
    int opened = 0;
    holder.openVideo = [&] {
        ++opened;
        MeasurementSet set;
        for (int i = 0; i < 5; ++i)
            set.points.push_back(MeasuredPoint {0.1 * i, 0.01 * i, std::nan(""), i});
        set.sourceName = QStringLiteral("chute.mp4");
        holder.setSet(std::move(set));
    };
    MesuresDialog dialog(holder, services);
    QVERIFY(dialog.video->isVisibleTo(&dialog));
    services.clipboard = QStringLiteral("t (s)\ty (mm)\tz (cm)\n0\t0\t0\n1\t10\t2\n2\t20\t4\n");
    QTest::mouseClick(dialog.coller, Qt::LeftButton);
    QVERIFY(dialog.positionColumn->isEnabled());

    QTest::mouseClick(dialog.video, Qt::LeftButton);
    QCOMPARE(opened, 1);
    QCOMPARE(holder.set().sourceName, QStringLiteral("chute.mp4"));
    // The pasted table's columns are gone: choosing one cannot bring it back.
    QVERIFY(!dialog.positionColumn->isEnabled());
    QCOMPARE(dialog.positionColumn->count(), 0);
    dialog.choice_Changed();
    QCOMPARE(int(holder.set().points.size()), 5);
    QVERIFY(dialog.source->text().startsWith(QStringLiteral("chute.mp4 : 5 points")));

    // The video window stays open beside: its positions arrive after the
    // click has returned, and replace the table all the same.
    MesuresDialog later(holder, services);
    QTest::mouseClick(later.coller, Qt::LeftButton);
    QVERIFY(later.positionColumn->isEnabled());
    holder.openVideo = [&] { ++opened; };
    QTest::mouseClick(later.video, Qt::LeftButton);
    QCOMPARE(opened, 2);
    QVERIFY(later.positionColumn->isEnabled()); // nothing handed over yet
    MeasurementSet tracked;
    for (int i = 0; i < 4; ++i)
        tracked.points.push_back(MeasuredPoint {0.1 * i, 0.01 * i, std::nan(""), i});
    tracked.sourceName = QStringLiteral("chute.mp4");
    holder.setSet(std::move(tracked));
    QCOMPARE(later.positionColumn->count(), 0);
    later.choice_Changed();
    QCOMPARE(int(holder.set().points.size()), 4);
}

namespace {

// "η = 1,2 ± 0,012 Pa·s …": the value and the uncertainty of an η line.
std::pair<double, double> etaOf(const QString &line)
{
    static const QRegularExpression pattern(QStringLiteral("η = ([0-9,]+) ± ([0-9,E+-]+) Pa·s"));
    const QRegularExpressionMatch m = pattern.match(line);
    if (!m.hasMatch())
        return {std::nan(""), std::nan("")};
    return {NumberFormat::parse(m.captured(1)).value_or(std::nan("")),
            NumberFormat::parse(m.captured(2)).value_or(std::nan(""))};
}

// Half a unit of the second significant digit of x: how far a value written
// with two significant digits may lie from x.
double twoDigitsSlack(double x)
{
    return 0.5 * std::pow(10.0, std::floor(std::log10(x)) - 1.0) * 1.0001;
}

void typeUncertainties(MesuresDialog &d, const QString &r, const QString &m, const QString &rho,
                       int massKind = 0, const QString &mass = {})
{
    if (massKind != 0) {
        d.massKind->setCurrentIndex(massKind);
        d.mass->setText(mass);
    }
    d.radiusU->setText(r);
    d.massU->setText(m);
    d.fluidDensityU->setText(rho);
}

} // namespace

void TestMesuresDialog::combinedUncertainty_data()
{
    QTest::addColumn<int>("massKind");
    QTest::addColumn<QString>("mass");
    QTest::addColumn<QString>("radiusU");
    QTest::addColumn<QString>("massU");
    QTest::addColumn<QString>("fluidU");
    // The uncertainties in SI units, as the test reads the typed texts.
    QTest::addColumn<double>("ur");
    QTest::addColumn<double>("um");
    QTest::addColumn<double>("urho");

    QTest::newRow("radius only, mm")
        << 0 << QString() << QStringLiteral("0,01") << QString() << QString() << 1e-5 << 0.0 << 0.0;
    QTest::newRow("radius in µm, mass in mg")
        << 0 << QString() << QStringLiteral("5µm") << QStringLiteral("1") << QString() << 5e-6
        << 1e-6 << 0.0;
    QTest::newRow("fluid in g/cm3, with ±") << 0 << QString() << QString() << QString()
                                            << QStringLiteral("±0,003g/cm3") << 0.0 << 0.0 << 3.0;
    QTest::newRow("sphere density, all three")
        << 1 << QStringLiteral("7800") << QStringLiteral("0,0025mm") << QStringLiteral("20")
        << QStringLiteral("3") << 2.5e-6 << 20.0 << 3.0;
}

// The η line's u is the combined uncertainty of (m − ρ_f·V)·g / (6π·r·v):
//   (u_η/η)² = (u_v/v)² + (u_m/Δ)² + (V·u_ρf/Δ)² + ((1/r + 3ρ_f·V/(r·Δ))·u_r)²
// with Δ = m − ρ_f·V; for a ball given by its density ρ_s, Δ = (ρ_s − ρ_f)·V
// and (u_η/η)² = (2u_r/r)² + (u_ρs/(ρ_s − ρ_f))² + (u_ρf/(ρ_s − ρ_f))² + (u_v/v)².
void TestMesuresDialog::combinedUncertainty()
{
    QFETCH(int, massKind);
    QFETCH(QString, mass);
    QFETCH(QString, radiusU);
    QFETCH(QString, massU);
    QFETCH(QString, fluidU);
    QFETCH(double, ur);
    QFETCH(double, um);
    QFETCH(double, urho);
    Fixture f;
    f.paste(fallTable(1.2));
    typeUncertainties(*f.dialog, radiusU, massU, fluidU, massKind, mass);
    QTest::mouseClick(f.dialog->ajuster, Qt::LeftButton);
    QVERIFY2(f.services.messages.isEmpty(), qPrintable(f.services.messages.value(0).text));
    const FitResult &fit = f.dialog->result();
    QVERIFY(fit.hasEta());

    const double r = 0.002, rhoF = 1260.0;
    const double volume = 4.0 / 3.0 * M_PI * r * r * r;
    const double typeA = fit.etaU / fit.eta;
    double relative2 = typeA * typeA;
    if (massKind == 0) {
        const double delta = 261e-6 - rhoF * volume;
        const double sr = 1.0 / r + 3.0 * rhoF * volume / (r * delta);
        relative2
            += std::pow(um / delta, 2) + std::pow(volume * urho / delta, 2) + std::pow(sr * ur, 2);
    } else {
        const double rhoS = 7800.0;
        relative2 += std::pow(2.0 * ur / r, 2) + std::pow(um / (rhoS - rhoF), 2)
            + std::pow(urho / (rhoS - rhoF), 2);
    }
    const double expected = fit.eta * std::sqrt(relative2);
    const auto [eta, u] = etaOf(f.dialog->resultLines().value(0));
    QVERIFY2(std::abs(eta - fit.eta) < 0.01 * fit.eta,
             qPrintable(f.dialog->resultLines().value(0)));
    QVERIFY2(std::abs(u - expected) <= twoDigitsSlack(expected),
             qPrintable(QStringLiteral("%1 against %2").arg(u).arg(expected)));
    // The text on screen is the same as what is copied.
    QCOMPARE(f.dialog->results->toPlainText(), f.dialog->resultLines().join(QLatin1Char('\n')));
}

void TestMesuresDialog::budgetLargestFirst()
{
    Fixture f;
    f.paste(fallTable(1.2));
    // 0,5 % on r weighs about 1 % on η; 3 kg/m³ on ρ_f about 0,07 %.
    typeUncertainties(*f.dialog, QStringLiteral("0,01"), QString(), QStringLiteral("3"));
    QTest::mouseClick(f.dialog->ajuster, Qt::LeftButton);
    const QStringList lines = f.dialog->resultLines();
    const auto find = [&](const QString &start) {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (lines[i].trimmed().startsWith(start))
                return i;
        }
        return qsizetype(-1);
    };
    const qsizetype combined = find(QStringLiteral("Incertitude-type composée"));
    const qsizetype budget = find(QStringLiteral("Bilan d'incertitude"));
    const qsizetype radius = find(QStringLiteral("rayon de la bille"));
    const qsizetype fluid = find(QStringLiteral("masse volumique du fluide"));
    const qsizetype without = find(QStringLiteral("Sans incertitude donnée"));
    // Right under the η line, in this order.
    QCOMPARE(combined, qsizetype(1));
    QVERIFY(budget > combined);
    QVERIFY(radius > budget);
    QVERIFY(fluid > radius);
    QVERIFY(without > fluid);
    QVERIFY(lines[without].contains(QStringLiteral("masse de la bille")));
    QVERIFY(!lines[without].contains(QStringLiteral("rayon")));
}

void TestMesuresDialog::uncertaintyFollowsItsValue()
{
    Fixture f;
    f.dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.dialog.get()));
    const auto nextControl = [](QWidget *w) {
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible());
        return w;
    };
    const std::pair<QLineEdit *, QLineEdit *> pairs[]
        = {{f.dialog->radius, f.dialog->radiusU},
           {f.dialog->mass, f.dialog->massU},
           {f.dialog->fluidDensity, f.dialog->fluidDensityU},
           {f.dialog->tube, f.dialog->tubeU}};
    for (const auto &[value, u] : pairs) {
        QCOMPARE(nextControl(value), u);
        QVERIFY(u->accessibleName().startsWith(QStringLiteral("Incertitude-type : ")));
        QVERIFY(!u->toolTip().isEmpty());
    }
}

void TestMesuresDialog::unreadableUncertainty_data()
{
    QTest::addColumn<QString>("radiusU");
    QTest::addColumn<QString>("expected");
    QTest::newRow("not a number") << QStringLiteral("abc")
                                  << QStringLiteral("L'incertitude du rayon ne se lit pas");
    QTest::newRow("a mass unit") << QStringLiteral("0,01g")
                                 << QStringLiteral("L'incertitude du rayon ne se lit pas");
    QTest::newRow("value and ±") << QStringLiteral("2±0,01")
                                 << QStringLiteral("écrivez seulement l'incertitude-type");
}

void TestMesuresDialog::unreadableUncertainty()
{
    QFETCH(QString, radiusU);
    QFETCH(QString, expected);
    Fixture f;
    f.paste(fallTable(1.2));
    f.dialog->radiusU->setText(radiusU);
    QTest::mouseClick(f.dialog->ajuster, Qt::LeftButton);
    QCOMPARE(f.services.messages.size(), 1);
    QVERIFY2(f.services.messages[0].text.contains(expected),
             qPrintable(f.services.messages[0].text));
    QVERIFY(!f.dialog->hasResult());
    // Kept for the session, as the other fields.
    f.reopen();
    QCOMPARE(f.dialog->radiusU->text(), radiusU);
}

void TestMesuresDialog::monteCarloHistogram()
{
    Fixture f;
    f.paste(fallTable(1.2));
    QVERIFY(!f.dialog->monteCarlo->isEnabled());
    QCOMPARE(f.dialog->draws->value(), 10000);
    f.dialog->radiusU->setText(QStringLiteral("0,01"));
    QTest::mouseClick(f.dialog->ajuster, Qt::LeftButton);
    QVERIFY(f.dialog->monteCarlo->isEnabled());
    QVERIFY(!f.dialog->histogram->hasResult());
    QVERIFY(f.dialog->histogram->accessibleDescription().isEmpty());
    QTest::mouseClick(f.dialog->monteCarlo, Qt::LeftButton);
    QVERIFY(f.services.messages.isEmpty());
    QVERIFY(f.dialog->histogram->hasResult());
    f.dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.dialog.get()));
    QVERIFY(f.dialog->histogram->isVisible());
    QVERIFY(f.dialog->histogram->height() >= 60);

    const auto [eta, u] = etaOf(f.dialog->resultLines().value(0));
    // A radius known to 0,5 % makes η nearly linear in it: the 95 % interval
    // is η ± 1,96·u within a few percent of u.
    static const QRegularExpression interval(
        QStringLiteral("95 %.*\\[([0-9,]+) ; ([0-9,]+)\\] Pa·s"));
    QString line;
    for (const QString &l : f.dialog->resultLines()) {
        if (interval.match(l).hasMatch())
            line = l;
    }
    QVERIFY2(!line.isEmpty(), qPrintable(f.dialog->resultLines().join(QLatin1Char('\n'))));
    const QRegularExpressionMatch m = interval.match(line);
    const double low = NumberFormat::parse(m.captured(1)).value_or(0.0);
    const double high = NumberFormat::parse(m.captured(2)).value_or(0.0);
    QVERIFY2(std::abs(low - (eta - 1.96 * u)) < 0.15 * u, qPrintable(line));
    QVERIFY2(std::abs(high - (eta + 1.96 * u)) < 0.15 * u, qPrintable(line));
    // The picture says the same to a screen reader.
    const QString description = f.dialog->histogram->accessibleDescription();
    QVERIFY2(description.contains(QStringLiteral("moyenne ± écart type")), qPrintable(description));
    QVERIFY2(description.contains(m.captured(0).mid(m.captured(0).indexOf(QLatin1Char('[')))),
             qPrintable(description));
    QVERIFY(description.contains(QStringLiteral("95 %")));
    // A new fit belongs to other values: the old draws go.
    f.dialog->radiusU->setText(QStringLiteral("0,02"));
    QVERIFY(!f.dialog->histogram->hasResult());
    QVERIFY(!f.dialog->monteCarlo->isEnabled());
}

void TestMesuresDialog::glycerineReference()
{
    Fixture f;
    f.paste(fallTable(1.2));
    f.dialog->radiusU->setText(QStringLiteral("0,01"));
    f.dialog->glycerineCelsius->setText(QStringLiteral("20"));
    QTest::mouseClick(f.dialog->ajuster, Qt::LeftButton);
    // Cheng's pure glycerine at 20 °C: 12100·exp((−1233 + T)·T / (9900 + 70·T)) mPa·s
    // = 1,414 Pa·s (his paper's table: 1,412).
    const double reference = 12.1 * std::exp((-1233.0 + 20.0) * 20.0 / (9900.0 + 70.0 * 20.0));
    QVERIFY(std::abs(reference - 1.412) < 0.003);
    const QStringList lines = f.dialog->resultLines();
    const QString refLine = lines.filter(QStringLiteral("Référence : η = ")).value(0);
    static const QRegularExpression refPattern(
        QStringLiteral("Référence : η = ([0-9,]+) Pa·s \\("));
    const QRegularExpressionMatch rm = refPattern.match(refLine);
    QVERIFY2(rm.hasMatch(), qPrintable(lines.join(QLatin1Char('\n'))));
    QVERIFY(std::abs(NumberFormat::parse(rm.captured(1)).value_or(0.0) - reference) < 0.001);
    // z = |η − η_réf| / u(η), with the shown η and u (two digits: a few %).
    const auto [eta, u] = etaOf(lines.value(0));
    const QString zLine = lines.filter(QStringLiteral("Écart normalisé : z = ")).value(0);
    static const QRegularExpression zPattern(QStringLiteral("= ([0-9,]+) \\(z > 2"));
    const QRegularExpressionMatch zm = zPattern.match(zLine);
    QVERIFY2(zm.hasMatch(), qPrintable(zLine));
    const double z = NumberFormat::parse(zm.captured(1)).value_or(0.0);
    const double expected = std::abs(eta - reference) / u;
    QVERIFY2(std::abs(z - expected) < 0.06 * expected, qPrintable(zLine));

    // Outside Cheng's range: said, not a figure.
    f.dialog->glycerineCelsius->setText(QStringLiteral("150"));
    f.dialog->reference_Typed();
    QVERIFY(f.dialog->resultLines().filter(QStringLiteral("Référence : η = ")).isEmpty());
    QVERIFY(!f.dialog->resultLines().filter(QStringLiteral("couvre de 0 à 100 °C")).isEmpty());
    // Kept for the session.
    f.reopen();
    QCOMPARE(f.dialog->glycerineCelsius->text(), QStringLiteral("150"));
}

void TestMesuresDialog::exportHoldsTheBudget()
{
    Fixture f;
    f.paste(fallTable(1.2));
    typeUncertainties(*f.dialog, QStringLiteral("0,01mm"), QStringLiteral("1"),
                      QStringLiteral("3"));
    f.dialog->glycerineCelsius->setText(QStringLiteral("20"));
    f.dialog->draws->setValue(2000);
    QTest::mouseClick(f.dialog->ajuster, Qt::LeftButton);
    QTest::mouseClick(f.dialog->monteCarlo, Qt::LeftButton);
    const QStringList figures {QStringLiteral("Bilan d'incertitude"),
                               QStringLiteral("rayon de la bille : 2"),
                               QStringLiteral("Monte-Carlo (2000 tirages"),
                               QStringLiteral("Intervalle à 95 % : ["),
                               QStringLiteral("Référence : η = "),
                               QStringLiteral("Écart normalisé : z = "),
                               QStringLiteral("Rayon de la bille : 2 mm ± 0,01mm"),
                               QStringLiteral("Masse de la bille : 261 mg ± 1 mg"),
                               QStringLiteral("Masse volumique du fluide : 1260 kg/m³ ± 3 kg/m³")};
    QTest::mouseClick(f.dialog->copier, Qt::LeftButton);
    for (const QString &figure : figures)
        QVERIFY2(f.services.clipboardText.contains(figure), qPrintable(figure));

    QTemporaryDir dir;
    const QByteArray bytes = f.exported(dir.filePath(QStringLiteral("bilan.csv")));
    const QString text = QString::fromUtf8(bytes);
    for (const QString &figure : figures)
        QVERIFY2(text.contains(figure), qPrintable(figure));
    // Still read back as the points.
    MeasurementReader reader;
    QVERIFY2(reader.read(bytes), qPrintable(reader.errorString()));
    const MeasurementTable table = reader.takeTable();
    QString why;
    const std::optional<MeasurementSet> back = toMeasurementSet(table, defaultChoice(table), &why);
    QVERIFY2(back, qPrintable(why));
    QCOMPARE(back->points.size(), size_t(21));
}

void TestMesuresDialog::unitChecksShown()
{
    // 1,26 typed for the fluid, in g/cm³ where kg/m³ is read.
    Fixture f;
    f.paste(fallTable(1.2));
    f.dialog->fluidDensity->setText(QStringLiteral("1,26"));
    QTest::mouseClick(f.dialog->ajuster, Qt::LeftButton);
    const QString gas = QStringLiteral("1,26 kg/m³ est la masse volumique d'un gaz");
    QVERIFY2(f.dialog->results->toPlainText().contains(gas),
             qPrintable(f.dialog->results->toPlainText()));
    QVERIFY(f.dialog->status->text().contains(gas));

    // Times in milliseconds under a header without a unit: read as ms, said.
    Fixture g;
    QString table = QStringLiteral("t\ty (m)\n");
    for (int i = 0; i <= 20; ++i)
        table += QStringLiteral("%1\t%2\n")
                     .arg(100 * i)
                     .arg(FallFit::modelAt(glycerolSetup(), 1.2, 0.0, 0.0, 0.1 * i), 0, 'g', 12);
    g.paste(table);
    QCOMPARE(g.dialog->timeUnit->currentText(), QStringLiteral("s"));
    QTest::mouseClick(g.dialog->ajuster, Qt::LeftButton);
    QVERIFY2(g.services.messages.isEmpty(), qPrintable(g.services.messages.value(0).text));
    QCOMPARE(g.dialog->timeUnit->currentText(), QStringLiteral("ms"));
    QVERIFY(g.dialog->result().hasEta());
    QVERIFY2(std::abs(g.dialog->result().eta - 1.2) < 0.1 * 1.2,
             qPrintable(g.dialog->results->toPlainText()));
    QVERIFY(g.dialog->results->toPlainText().contains(QStringLiteral("millisecondes")));
    // Said to be seconds by the user: taken as such.
    g.dialog->timeUnit->setCurrentIndex(0);
    QTest::mouseClick(g.dialog->ajuster, Qt::LeftButton);
    QCOMPARE(g.dialog->timeUnit->currentText(), QStringLiteral("s"));
    QVERIFY(!g.dialog->results->toPlainText().contains(QStringLiteral("millisecondes")));
}

// The longest texts a class gives: the source line whole at the width it
// is given, every number of the table on one line inside its column, with
// enough points for a scroll bar, in a window at its smallest.
void TestMesuresDialog::wholeSourceAndCells_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("table"); // 27 points at 20000 s, 20001 s … follow
    QTest::newRow("presse-papiers, petits nombres")
        << "presse-papiers 2"
        << "t (s);y (m)\n0,00517861;-0,00517861\n0,0385453;-0,0175243\n0,0718;-0,0298712\n";
    QTest::newRow("fichier au long nom, temps à 5 chiffres")
        << "chute_bille_acier_glycerine_2024-03-15_groupe3_essai2_bis.csv"
        << "t (s);y (m)\n10250,4;-0,351786\n12345,6;-1,23457\n14440,8;-2,11735\n";
}

void TestMesuresDialog::wholeSourceAndCells()
{
    QFETCH(QString, source);
    QFETCH(QString, table);
    for (int i = 0; i < 27; ++i)
        table += QStringLiteral("%1;-3,%2\n").arg(20000 + i).arg(i);
    Fixture f;
    QVERIFY2(f.dialog->importBytes(table.toUtf8(), source),
             qPrintable(f.services.messages.value(0).text));
    f.dialog->show();
    f.dialog->resize(f.dialog->minimumSizeHint());
    QVERIFY(QTest::qWaitForWindowExposed(f.dialog.get()));
    QLabel *label = f.dialog->source;
    QVERIFY(label->text().startsWith(source + QStringLiteral(" : 30 points")));
    QTRY_VERIFY2(label->height() >= label->heightForWidth(label->width()),
                 qPrintable(QStringLiteral("%1 px for %2")
                                .arg(label->height())
                                .arg(label->heightForWidth(label->width()))));
    QTableView *view = f.dialog->points;
    // As the item delegate draws: a focus frame's margin and a pixel each side.
    const int margin = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    const QAbstractItemModel *model = view->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        for (int column = 0; column < 2; ++column) {
            const QString text = model->index(row, column).data().toString();
            QTRY_VERIFY2(view->fontMetrics().horizontalAdvance(text) + margin
                             <= view->columnWidth(column),
                         qPrintable(text));
            QVERIFY(view->visualRect(model->index(row, column)).right()
                    < view->viewport()->width());
        }
    }
}

// The export's input lines say which "±" is the half-width of a
// rectangular law, as the budget lines do.
void TestMesuresDialog::exportSaysTheLaw_data()
{
    QTest::addColumn<QString>("radiusU");
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("rectangular");
    QTest::newRow("a/√3 avec unité")
        << "0,01mm/√3"
        << "Rayon de la bille : 2 mm ± 0,01mm/√3, loi rectangulaire" << true;
    QTest::newRow("a / rac3 sans unité")
        << "0,01 / rac3"
        << "Rayon de la bille : 2 mm ± 0,01 mm/√3, loi rectangulaire" << true;
    QTest::newRow("incertitude-type") << "0,01"
                                      << "Rayon de la bille : 2 mm ± 0,01 mm" << false;
}

void TestMesuresDialog::exportSaysTheLaw()
{
    QFETCH(QString, radiusU);
    QFETCH(QString, line);
    QFETCH(bool, rectangular);
    Fixture f;
    f.paste(fallTable(1.2));
    f.dialog->radiusU->setText(radiusU);
    QTest::mouseClick(f.dialog->ajuster, Qt::LeftButton);
    QTemporaryDir dir;
    const QString text = QString::fromUtf8(f.exported(dir.filePath(QStringLiteral("bilan.csv"))));
    QVERIFY2(f.services.messages.isEmpty(), qPrintable(f.services.messages.value(0).text));
    QVERIFY2(text.contains(line + QStringLiteral("\r\n")), qPrintable(text));
    // The budget's line of the radius: 0,01/√3 = 0,0058 mm.
    const QString budget = rectangular ? QStringLiteral("rayon de la bille : 2,0000 ± 0,0058 mm → ")
                                       : QStringLiteral("rayon de la bille : 2,000 ± 0,010 mm → ");
    const qsizetype at = text.indexOf(budget);
    QVERIFY2(at >= 0, qPrintable(text));
    QCOMPARE(text.mid(at)
                 .section(QStringLiteral("\r\n"), 0, 0)
                 .endsWith(QStringLiteral(", loi rectangulaire")),
             rectangular);
}

QTEST_MAIN(TestMesuresDialog)
#include "tst_mesuresdialog.moc"
