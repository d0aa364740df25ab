// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/pictureprinter.h"
#include "output/textprinting.h"
#include "support/diskfull.h"
#include "support/pdfpages.h"
#include "support/scriptedservices.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

namespace {

QImage graphPicture()
{
    QImage picture(357, 261, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int x = 30; x < 310; ++x)
        picture.setPixelColor(x, 230, Qt::black);
    return picture;
}

// Pages of a PDF written by Qt: each page object is "/Type /Page".
int pageCount(const QByteArray &pdf)
{
    return int(pdf.count("/Type /Page\n") + pdf.count("/Type /Page ") + pdf.count("/Type /Page/"));
}

} // namespace

class TestPicturePrinter : public QObject
{
    Q_OBJECT

private slots:
    void pdfChosenAtSetUp();
    void cancelledSetUp();
    void noPrinterAsksForAFile();
    void failureIsReported();
    void picturePrintedPixelForPixel();
    void failedPdfKeepsThePreviousFile_data();
    void failedPdfKeepsThePreviousFile();
};

void TestPicturePrinter::pdfChosenAtSetUp()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("graphe.pdf"));
    ScriptedServices services;
    services.printerChoice = [&](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
    };
    PicturePrinter printer(services);
    QCOMPARE(printer.print(graphPicture(), QPageLayout::Landscape),
             PicturePrinter::Result::Printed);
    QCOMPARE(services.printerRequests, 1);
    QVERIFY(services.fileRequests.isEmpty());
    QVERIFY(services.messages.isEmpty());

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    QVERIFY(pdf.startsWith("%PDF"));
    QCOMPARE(pageCount(pdf), 1);
    // Landscape: the page is wider than high.
    const QRegularExpressionMatch box
        = QRegularExpression(QStringLiteral("/MediaBox \\[\\s*0 0 ([0-9.]+) ([0-9.]+)\\s*\\]"))
              .match(QString::fromLatin1(pdf));
    QVERIFY(box.hasMatch());
    QVERIFY(box.captured(1).toDouble() > box.captured(2).toDouble());
}

void TestPicturePrinter::cancelledSetUp()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("graphe.pdf"));
    ScriptedServices services;
    services.printerAnswers.enqueue(false);
    services.printerChoice = [&](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
    };
    QCOMPARE(PicturePrinter(services).print(graphPicture(), QPageLayout::Landscape),
             PicturePrinter::Result::Cancelled);
    QVERIFY(!QFile::exists(path));
    QVERIFY(services.fileRequests.isEmpty());
    QVERIFY(services.messages.isEmpty());
}

void TestPicturePrinter::noPrinterAsksForAFile()
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("A printer is installed: the page would go to it.");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("choisi.pdf"));
    ScriptedServices services;
    services.fileNames.enqueue(path);
    QCOMPARE(PicturePrinter(services).print(graphPicture(), QPageLayout::Landscape),
             PicturePrinter::Result::Printed);
    QCOMPARE(services.fileRequests.size(), 1);
    QCOMPARE(services.fileRequests.first().filter, QStringLiteral("Document PDF (*.pdf)"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(pageCount(file.readAll()), 1);

    // Cancelling the file name prints nothing.
    ScriptedServices cancelling;
    QCOMPARE(PicturePrinter(cancelling).print(graphPicture(), QPageLayout::Landscape),
             PicturePrinter::Result::Cancelled);
    QVERIFY(cancelling.messages.isEmpty());
}

void TestPicturePrinter::failureIsReported()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("absent/graphe.pdf"));
    ScriptedServices services;
    services.printerChoice = [&](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
    };
    QCOMPARE(PicturePrinter(services).print(graphPicture(), QPageLayout::Landscape),
             PicturePrinter::Result::Failed);
    QCOMPARE(services.messages.size(), 1);
    QCOMPARE(services.messages.first().title, QStringLiteral("Impression impossible"));
    QCOMPARE(services.messages.first().icon, MessageIcon::Error);
    QVERIFY(services.messages.first().text.contains(QStringLiteral("graphe.pdf")));
    QVERIFY(!QFile::exists(path));
}

void TestPicturePrinter::picturePrintedPixelForPixel()
{
    if (!PdfPages::available())
        QSKIP("poppler-utils (pdfimages) is not installed.");
    // Thin coloured arrows on the scene's light background: a lossy copy
    // would shift the colours along their edges.
    QImage scene(200, 150, QImage::Format_RGB32);
    scene.fill(QColor(224, 240, 255));
    QPainter painter(&scene);
    for (int i = 0; i < 6; ++i) {
        painter.setPen(QPen(QColor::fromHsv(i * 60, 255, 230), 1));
        painter.drawLine(10 + 30 * i, 140, 30 + 30 * i, 10);
        painter.drawLine(30 + 30 * i, 10, 24 + 30 * i, 22);
        painter.drawLine(30 + 30 * i, 10, 34 + 30 * i, 23);
    }
    painter.end();

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("scene.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    ScriptedServices services;
    PicturePrinter::Job job;
    job.picture = scene;
    job.title = QStringLiteral("Chute");
    QVERIFY2(PicturePrinter(services).printOn(printer, job), qPrintable(path));
    const QList<QImage> images = PdfPages::imagePixels(path, dir.path());
    QCOMPARE(images.size(), 1);
    QCOMPARE(images.first().convertToFormat(QImage::Format_RGB32), scene);
}

void TestPicturePrinter::failedPdfKeepsThePreviousFile_data()
{
    QTest::addColumn<bool>("text");
    QTest::newRow("picture") << false;
    QTest::newRow("text of the exercise area") << true;
}

void TestPicturePrinter::failedPdfKeepsThePreviousFile()
{
    QFETCH(bool, text);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ancien.pdf"));
    const QByteArray old(500, 'p');
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(old), old.size());
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    ScriptedServices services;
    bool printed = true;
    QString error;
    {
        // The disk fills up in the middle of the document.
        const FileSizeLimit limit(400);
        QVERIFY(limit.isActive());
        if (text) {
            QTextDocument document;
            document.setPlainText(QStringLiteral("Réponse : la vitesse limite est atteinte."));
            TextPrinting printing(services);
            printed = printing.printOn(printer, document);
            error = printing.errorString();
        } else {
            PicturePrinter printing(services);
            PicturePrinter::Job job;
            job.picture = graphPicture();
            printed = printing.printOn(printer, job);
            error = printing.errorString();
        }
    }
    QVERIFY(!printed);
    QVERIFY2(error.startsWith(QStringLiteral("Le fichier « %1 » n'a pas pu être écrit.")
                                  .arg(QDir::toNativeSeparators(path))),
             qPrintable(error));
    QFile kept(path);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList {QStringLiteral("ancien.pdf")});
}

QTEST_MAIN(TestPicturePrinter)
#include "tst_pictureprinter.moc"
