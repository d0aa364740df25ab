// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/numberformat.h"
#include "measures/fallfit.h"
#include "measures/fitreport.h"
#include "measures/measurementreader.h"
#include "measures/measurementholder.h"
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
    std::unique_ptr<MesuresDialog> dialog;

    Fixture()
    {
        holder.fieldTexts = glycerolFields;
        holder.apply = [this](const AppliedFit &fit) { applied.append(fit); };
        dialog = std::make_unique<MesuresDialog>(holder, services);
    }
    void paste(const QString &text)
    {
        services.clipboard = text;
        QTest::mouseClick(dialog->coller, Qt::LeftButton);
    }
    void clickRow(int row)
    {
        dialog->show();
        const QModelIndex index = dialog->points->model()->index(row, 0);
        const QRect cell = dialog->points->visualRect(index);
        QTest::mouseClick(dialog->points->viewport(), Qt::LeftButton, {}, cell.center());
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
};

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
    QTest::mouseClick(f.dialog->ajuster, Qt::LeftButton);
    QTest::mouseClick(f.dialog->copier, Qt::LeftButton);
    QCOMPARE(f.services.clipboardText, FitReport::text(f.dialog->result()));
    QVERIFY(f.services.clipboardText.startsWith(QStringLiteral("η = 1,2")));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ajustement.csv"));
    f.services.fileNames.enqueue(path);
    QTest::mouseClick(f.dialog->exporter, Qt::LeftButton);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), FitReport::csvBytes(f.holder.set(), f.dialog->result()));
    QVERIFY(f.services.messages.isEmpty());
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
