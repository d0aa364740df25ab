// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/numberformat.h"
#include "measures/columnchoice.h"
#include "measures/fallfit.h"
#include "measures/fitreport.h"
#include "measures/measurementholder.h"
#include "measures/measurementreader.h"
#include "measuresui/mesuresdialog.h"
#include "support/scriptedservices.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
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
    QCOMPARE(f.holder.set().sourceName, QStringLiteral("presse-papiers"));
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
    QCOMPARE(f.holder.set().sourceName, QStringLiteral("presse-papiers"));
    QCOMPARE(f.dialog->positionColumn->count(), 2); // the columns of the kept table
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
    // The results, then the inputs they were fitted with.
    QVERIFY(f.services.clipboardText.startsWith(FitReport::text(f.dialog->result())));
    QVERIFY(f.services.clipboardText.startsWith(QStringLiteral("η = 1,2")));
    for (const QString &line :
         {QStringLiteral("Mesures : presse-papiers (21 points)"),
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
}

QTEST_MAIN(TestMesuresDialog)
#include "tst_mesuresdialog.moc"
