// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/confimp.h"
#include "output/pageplacement.h"
#include "output/pictureprinter.h"
#include "platform/twips.h"
#include "support/pdfpages.h"
#include "support/scriptedservices.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QRect mainWindow(100, 50, 800, 600);

QImage filled(int width, int height, const QColor &colour)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

// The scene and the small graph: two sizes and colours, told apart on paper.
QImage scenePicture()
{
    return filled(240, 300, QColor(200, 0, 0));
}

QImage graphPicture()
{
    return filled(357, 261, QColor(0, 0, 200));
}

struct Rig
{
    ScriptedServices services;
    int sceneRequests = 0;
    int graphRequests = 0;
    // What the wait panel and the buttons showed while the picture was taken.
    bool waitShown = false;
    bool buttonsShown = true;
    std::unique_ptr<Confimp> dialog;

    Rig()
    {
        const auto watch = [this](QImage picture) {
            waitShown = !dialog->Frame2->isHidden();
            buttonsShown = !dialog->Command1->isHidden() || !dialog->Frame1->isHidden();
            return picture;
        };
        dialog = std::make_unique<Confimp>(
            services,
            [this, watch] {
                ++sceneRequests;
                return watch(scenePicture());
            },
            [this, watch] {
                ++graphRequests;
                return watch(graphPicture());
            },
            mainWindow);
    }

    // "&Imprimantes" choosing a PDF file.
    void choosePdf(const QString &path)
    {
        services.printerChoice = [path](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            // The set-up's own count of copies, which the job's pages replace.
            printer.setCopyCount(4);
        };
        dialog->Command2->click();
    }
};

} // namespace

class TestConfimp : public QObject
{
    Q_OBJECT

private slots:
    void initialStateAtEveryOpening();
    void keyboardAndNames();
    void job_data();
    void job();
    void placement_data();
    void placement();
    void printerSetUp();
    void cancelPrintsNothing();
    void noPrinterAsksForAFile();
    void failedJobIsReported();
};

void TestConfimp::initialStateAtEveryOpening()
{
    for (int opening = 1; opening <= 2; ++opening) {
        Rig rig;
        Confimp &d = *rig.dialog;
        QCOMPARE(d.windowTitle(), QStringLiteral("Imprimer"));
        QCOMPARE(d.Frame1->title(), QStringLiteral("Options"));
        QCOMPARE(d.Text1->text(), QStringLiteral("Brelune - Lorva avec frottement"));
        QCOMPARE(d.UpDown1->value(), 1);
        QCOMPARE(d.UpDown1->minimum(), 1);
        QCOMPARE(d.UpDown1->maximum(), 99);
        QVERIFY(d.Option1->isChecked());
        QVERIFY(!d.Option2->isChecked());
        QVERIFY(d.Chec[0]->isChecked());
        QVERIFY(!d.Chec[1]->isChecked());
        QVERIFY(d.Frame2->isHidden());
        QCOMPARE(d.Label1->text(), QStringLiteral("Veuillez patienter quelques instants..."));
        QCOMPARE(d.defaut->text(), PicturePrinter::shownName(d.printer()));
        if (QPrinterInfo::availablePrinters().isEmpty())
            QCOMPARE(d.defaut->text(), QStringLiteral("Imprimer dans un fichier (PDF)"));
        // 20 pixels below the main window's top, centred across it.
        QCOMPARE(d.pos().y(), mainWindow.top() + 20);
        QVERIFY(qAbs(d.pos().x() + d.width() / 2 - mainWindow.center().x()) <= 1);

        // The user changes everything, then gives up: the next opening starts afresh.
        d.Text1->setText(QStringLiteral("Autre"));
        d.UpDown1->setValue(5);
        d.Option2->setChecked(true);
        d.Chec[0]->setChecked(false);
        d.Chec[1]->setChecked(true);
        d.Command3->click();
        QCOMPARE(d.result(), int(QDialog::Rejected));
    }
}

void TestConfimp::keyboardAndNames()
{
    Rig rig;
    Confimp &d = *rig.dialog;
    QVERIFY(d.Command1->isDefault());
    QVERIFY(!d.Command2->isDefault() && !d.Command2->autoDefault());
    QVERIFY(!d.Command3->isDefault() && !d.Command3->autoDefault());
    QCOMPARE(d.Label5->buddy(), d.Text1);
    QCOMPARE(d.Label3->buddy(), d.UpDown1);
    const QList<QWidget *> controls = {d.Text1,   d.UpDown1,  d.Option1,  d.Option2, d.Chec[0],
                                       d.Chec[1], d.Command1, d.Command2, d.Command3};
    for (QWidget *control : controls)
        QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
    QVERIFY(!d.defaut->accessibleName().isEmpty());

    // Tab goes through the controls in reading order; within the pair of
    // options only the chosen one takes the focus.
    d.show();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    d.Text1->setFocus();
    const QList<QWidget *> order
        = {d.UpDown1, d.Option1, d.Chec[0], d.Chec[1], d.Command1, d.Command2, d.Command3, d.Text1};
    for (QWidget *expected : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *focus = QApplication::focusWidget();
        // The spin box's focus is its line edit.
        if (focus && focus->parentWidget() == d.UpDown1)
            focus = d.UpDown1;
        QCOMPARE(focus, expected);
    }

    // Escape closes without printing; every caption has its access key.
    for (QAbstractButton *button : d.findChildren<QAbstractButton *>())
        QVERIFY2(button->text().contains(QLatin1Char('&')), qPrintable(button->objectName()));
    QTest::keyClick(d.Text1, Qt::Key_Escape);
    QVERIFY(!d.isVisible());
    QCOMPARE(d.result(), int(QDialog::Rejected));
    QCOMPARE(rig.services.printerRequests + rig.sceneRequests + rig.graphRequests, 0);
}

void TestConfimp::job_data()
{
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("graph");
    QTest::addColumn<bool>("byEnter");
    QTest::newRow("one copy of the animation") << 1 << false << false;
    QTest::newRow("three copies of the animation") << 3 << false << false;
    QTest::newRow("three copies of the graph, Enter") << 3 << true << true;
}

void TestConfimp::job()
{
    QFETCH(int, copies);
    QFETCH(bool, graph);
    QFETCH(bool, byEnter);
    if (!PdfPages::available())
        QSKIP("poppler-utils (pdfinfo, pdftotext, pdfimages) is not installed.");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.pdf"));
    Rig rig;
    Confimp &d = *rig.dialog;
    rig.choosePdf(path);
    d.UpDown1->setValue(copies);
    if (graph)
        d.Option2->setChecked(true);
    if (byEnter) {
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QTest::keyClick(d.Text1, Qt::Key_Return);
    } else {
        d.Command1->click();
    }

    QCOMPARE(d.result(), int(QDialog::Accepted));
    QVERIFY(rig.services.messages.isEmpty());
    QVERIFY(rig.services.fileRequests.isEmpty());
    // The picture is taken once, behind the wait panel.
    QCOMPARE(rig.sceneRequests, graph ? 0 : 1);
    QCOMPARE(rig.graphRequests, graph ? 1 : 0);
    QVERIFY(rig.waitShown);
    QVERIFY(!rig.buttonsShown);

    QCOMPARE(d.printer().copyCount(), 1);
    QCOMPARE(PdfPages::count(path), copies);
    const QSize size = graph ? graphPicture().size() : scenePicture().size();
    QList<QPair<int, QSize>> expected;
    for (int page = 1; page <= copies; ++page) {
        QVERIFY(
            PdfPages::text(path, page).contains(QStringLiteral("Brelune - Lorva avec frottement")));
        expected.append({page, size});
    }
    QCOMPARE(PdfPages::images(path), expected);
}

void TestConfimp::placement_data()
{
    QTest::addColumn<bool>("centreH");
    QTest::addColumn<bool>("centreV");
    QTest::newRow("across only (the initial choice)") << true << false;
    QTest::newRow("neither: a tenth and a twentieth") << false << false;
    QTest::newRow("both ways") << true << true;
    QTest::newRow("down only") << false << true;
}

void TestConfimp::placement()
{
    QFETCH(bool, centreH);
    QFETCH(bool, centreV);
    if (!PdfPages::available())
        QSKIP("poppler-utils (pdftoppm) is not installed.");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.pdf"));
    Rig rig;
    Confimp &d = *rig.dialog;
    rig.choosePdf(path);
    d.Chec[0]->setChecked(centreH);
    d.Chec[1]->setChecked(centreV);
    d.Command1->click();
    QCOMPARE(d.result(), int(QDialog::Accepted));

    // Expected corner in page pixels at 96 dpi (15 twips a pixel).
    const QPageLayout layout = d.printer().pageLayout();
    QCOMPARE(layout.orientation(), QPageLayout::Portrait);
    const QRectF printable = layout.paintRect(QPageLayout::Inch);
    const QPointF corner = PagePlacement::topLeft(printable.size() * Twips::perInch,
                                                  scenePicture().size(), centreH, centreV)
            / Twips::perPixel
        + printable.topLeft() * 96.0;
    if (!centreH)
        QCOMPARE(corner.x() - printable.left() * 96.0, printable.width() * 96.0 / 10.0);
    if (!centreV)
        QCOMPARE(corner.y() - printable.top() * 96.0, printable.height() * 96.0 / 20.0);

    const QImage page = PdfPages::render(path, 1, 96, dir.path());
    QVERIFY(!page.isNull());
    const QPoint c = corner.toPoint();
    const QColor red = scenePicture().pixelColor(0, 0);
    const QSize size = scenePicture().size();
    // Inside the picture's four corners, and just outside them.
    for (const QPoint &inside : {c + QPoint(2, 2), c + QPoint(size.width() - 3, size.height() - 3)})
        QCOMPARE(page.pixelColor(inside), red);
    for (const QPoint &outside :
         {c - QPoint(2, 2), c + QPoint(size.width() + 1, size.height() + 1)})
        QCOMPARE(page.pixelColor(outside), QColor(Qt::white));
}

void TestConfimp::printerSetUp()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("choisi.pdf"));
    Rig rig;
    Confimp &d = *rig.dialog;
    const QRect geometry = d.geometry();

    // A cancelled set-up changes nothing, not even what the user would have chosen.
    rig.services.printerAnswers.enqueue(false);
    const QString before = d.defaut->text();
    rig.choosePdf(path);
    QCOMPARE(rig.services.printerRequests, 1);
    QCOMPARE(d.defaut->text(), before);
    QVERIFY(d.printer().outputFileName().isEmpty());

    // An accepted one shows the printer chosen and moves nothing else.
    rig.choosePdf(path);
    QCOMPARE(rig.services.printerRequests, 2);
    QCOMPARE(d.defaut->text(), QStringLiteral("Imprimer dans un fichier (PDF) : choisi.pdf"));
    QCOMPARE(d.geometry(), geometry);
    QVERIFY(d.result() != int(QDialog::Accepted));
    QVERIFY(!QFile::exists(path));
}

void TestConfimp::cancelPrintsNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.pdf"));
    Rig rig;
    Confimp &d = *rig.dialog;
    rig.choosePdf(path);
    d.UpDown1->setValue(3);
    d.Command3->click();
    QCOMPARE(d.result(), int(QDialog::Rejected));
    QVERIFY(!QFile::exists(path));
    QCOMPARE(rig.sceneRequests + rig.graphRequests, 0);
    QVERIFY(rig.services.messages.isEmpty());
}

void TestConfimp::noPrinterAsksForAFile()
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("A printer is installed: the pages would go to it.");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("demande.pdf"));

    // A cancelled file name: told, nothing written, the dialog still open with its choices.
    Rig rig;
    Confimp &d = *rig.dialog;
    d.UpDown1->setValue(2);
    d.Command1->click();
    QCOMPARE(rig.services.fileRequests.size(), 1);
    QCOMPARE(rig.services.fileRequests.first().filter, QStringLiteral("Document PDF (*.pdf)"));
    QCOMPARE(rig.services.messages.size(), 1);
    QCOMPARE(rig.services.messages.first().title, QStringLiteral("Impression impossible"));
    QCOMPARE(rig.services.messages.first().text,
             QStringLiteral("Aucun fichier PDF n'a été choisi : rien n'a été imprimé."));
    QCOMPARE(rig.sceneRequests, 0);
    QVERIFY(d.result() != int(QDialog::Accepted));
    QVERIFY(d.Frame2->isHidden() && !d.Frame1->isHidden() && !d.Command1->isHidden());
    QCOMPARE(d.UpDown1->value(), 2);

    // A name where nothing can be written: told, and the next try asks again.
    rig.services.fileNames.enqueue(dir.filePath(QStringLiteral("absent/demande.pdf")));
    d.Command1->click();
    QVERIFY(d.result() != int(QDialog::Accepted));
    QCOMPARE(rig.services.messages.size(), 2);
    QVERIFY(rig.services.messages.last().text.contains(QStringLiteral("demande.pdf")));

    // A third try with a good name writes both pages there.
    rig.services.fileNames.enqueue(path);
    d.Command1->click();
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(rig.services.fileRequests.size(), 3);
    QCOMPARE(rig.services.messages.size(), 2);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith("%PDF"));
    if (PdfPages::available())
        QCOMPARE(PdfPages::count(path), 2);
}

void TestConfimp::failedJobIsReported()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("absent/page.pdf"));
    Rig rig;
    Confimp &d = *rig.dialog;
    rig.choosePdf(path);
    d.Command1->click();
    QVERIFY(d.result() != int(QDialog::Accepted));
    QCOMPARE(rig.services.messages.size(), 1);
    QCOMPARE(rig.services.messages.first().icon, MessageIcon::Error);
    QCOMPARE(rig.services.messages.first().title, QStringLiteral("Impression impossible"));
    QVERIFY(rig.services.messages.first().text.contains(QStringLiteral("page.pdf")));
    QVERIFY(!QFile::exists(path));
    QVERIFY(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    // The controls are back for another try.
    QVERIFY(d.Frame2->isHidden() && !d.Command1->isHidden() && !d.Frame1->isHidden());
}

QTEST_MAIN(TestConfimp)
#include "tst_confimp.moc"
