#include "output/pictureprinter.h"
#include "support/scriptedservices.h"

#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

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

QTEST_MAIN(TestPicturePrinter)
#include "tst_pictureprinter.moc"
