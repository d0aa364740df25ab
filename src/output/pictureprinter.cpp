#include "pictureprinter.h"

#include "pageplacement.h"

#include "platform/platformservices.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

namespace {

constexpr int pdfResolution = 1200;
constexpr double screenDpi = PagePlacement::twipsPerInch / PagePlacement::twipsPerPixel;
constexpr double titlePoints = 12;

// Paints the pages of job on a device whose painter has its origin at the
// top-left of the printable area; dpi is the device's resolution. Returns
// false when the device refuses a new page.
bool paintPages(QPainter &painter, QPagedPaintDevice &device, const QSizeF &printablePixels,
                double dpi, const PicturePrinter::Job &job)
{
    const double pixelsPerTwip = dpi / PagePlacement::twipsPerInch;
    const QSizeF printableTwips = printablePixels / pixelsPerTwip;
    const QPointF corner = PagePlacement::topLeft(printableTwips, job.picture.size(),
                                                  job.centreHorizontally, job.centreVertically)
        * pixelsPerTwip;
    const QRectF pictureRect(corner, QSizeF(job.picture.size()) * (dpi / screenDpi));

    // The font is sized in points on the device itself, so it prints at
    // 12 points whatever the device's resolution.
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPointSizeF(titlePoints);
    titleFont.setBold(true);

    for (int copy = 1; copy <= job.copies; ++copy) {
        if (copy > 1 && !device.newPage())
            return false;
        if (!job.title.isEmpty()) {
            painter.save();
            painter.setFont(titleFont);
            painter.setPen(Qt::black);
            // The title's top-left corner is the printable area's.
            painter.drawText(QPointF(0, QFontMetricsF(painter.font()).ascent()), job.title);
            painter.restore();
        }
        painter.drawImage(pictureRect, job.picture);
    }
    return true;
}

QString fileError(const QString &fileName, const QString &detail)
{
    QString text = QStringLiteral("Le fichier « %1 » n'a pas pu être écrit.")
                       .arg(QDir::toNativeSeparators(fileName));
    if (!detail.isEmpty())
        text += QLatin1Char('\n') + detail;
    return text;
}

} // namespace

PicturePrinter::PicturePrinter(PlatformServices &services)
    : m_services(services)
{ }

PicturePrinter::Result PicturePrinter::print(const QImage &picture,
                                             QPageLayout::Orientation orientation)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Lorva avec frottement"));
    printer.setPageOrientation(orientation);
    if (!m_services.printerSetup(printer))
        return Result::Cancelled;
    printer.setPageOrientation(orientation);
    Job job;
    job.picture = picture;
    return printJob(printer, job);
}

PicturePrinter::Result PicturePrinter::printJob(QPrinter &printer, const Job &job)
{
    if (!chooseOutput(printer))
        return Result::Cancelled;
    if (!printOn(printer, job)) {
        m_services.message(MessageIcon::Error, failureTitle(), m_error);
        return Result::Failed;
    }
    return Result::Printed;
}

bool PicturePrinter::goesToPdf(const QPrinter &printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return true;
    return printer.printerName().isEmpty();
}

QString PicturePrinter::shownName(const QPrinter &printer)
{
    if (!goesToPdf(printer))
        return printer.printerName();
    if (printer.outputFileName().isEmpty())
        return pdfPrinterName();
    return pdfPrinterName() + QStringLiteral(" : ")
        + QFileInfo(printer.outputFileName()).fileName();
}

bool PicturePrinter::chooseOutput(QPrinter &printer)
{
    if (!goesToPdf(printer) || !printer.outputFileName().isEmpty())
        return true;
    FileDialogRequest request;
    request.title = QStringLiteral("Imprimer dans un fichier PDF");
    request.filter = pdfFilter();
    request.defaultExtension = QStringLiteral("pdf");
    request.fileName = QStringLiteral("impression.pdf");
    const std::optional<QString> name = m_services.saveFileName(request);
    if (!name || name->isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(*name);
    return true;
}

bool PicturePrinter::printOn(QPrinter &printer, const QImage &picture)
{
    Job job;
    job.picture = picture;
    return printOn(printer, job);
}

bool PicturePrinter::printOn(QPrinter &printer, const Job &job)
{
    m_error.clear();
    if (job.copies < 1 || job.picture.isNull()) {
        m_error = QStringLiteral("Il n'y a rien à imprimer.");
        return false;
    }
    if (goesToPdf(printer)) {
        if (printer.outputFileName().isEmpty()) {
            m_error = QStringLiteral("Aucun fichier PDF n'a été choisi.");
            return false;
        }
        return writePdf(printer.outputFileName(), printer.pageLayout(), job);
    }

    QPainter painter;
    if (!painter.begin(&printer)) {
        m_error = QStringLiteral("L'imprimante « %1 » n'est pas disponible.")
                      .arg(printer.printerName());
        return false;
    }
    const double dpi = printer.resolution();
    const bool paged
        = paintPages(painter, printer,
                     printer.pageLayout().paintRectPixels(printer.resolution()).size(), dpi, job);
    if (!paged)
        printer.abort();
    if (!painter.end() || !paged || printer.printerState() == QPrinter::Error) {
        m_error = QStringLiteral("L'imprimante « %1 » n'a pas pu imprimer les pages.")
                      .arg(printer.printerName());
        return false;
    }
    return true;
}

bool PicturePrinter::writePdf(const QString &fileName, const QPageLayout &layout, const Job &job)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        m_error = fileError(fileName, file.errorString());
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("Lorva avec frottement"));
        writer.setTitle(job.title);
        writer.setResolution(pdfResolution);
        writer.setPageLayout(layout);
        QPainter painter;
        if (!painter.begin(&writer)) {
            m_error = fileError(fileName, QString());
            file.cancelWriting();
            return false;
        }
        const bool paged = paintPages(painter, writer, layout.paintRectPixels(pdfResolution).size(),
                                      pdfResolution, job);
        painter.end();
        if (!paged) {
            m_error = fileError(fileName, QString());
            file.cancelWriting();
            return false;
        }
    }
    if (!file.commit()) {
        m_error = fileError(fileName, file.errorString());
        return false;
    }
    return true;
}
