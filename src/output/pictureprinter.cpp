#include "pictureprinter.h"

#include "pageplacement.h"

#include "platform/platformservices.h"

#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

namespace {

constexpr int pdfResolution = 1200;
constexpr double screenDpi = PagePlacement::twipsPerInch / PagePlacement::twipsPerPixel;

// Draws the picture centred on the printable area, whose top-left is the
// painter's origin; dpi is the device's resolution.
void paintCentred(QPainter &painter, const QSizeF &printablePixels, double dpi,
                  const QImage &picture)
{
    const double pixelsPerTwip = dpi / PagePlacement::twipsPerInch;
    const QSizeF printableTwips = printablePixels / pixelsPerTwip;
    const QPointF corner
        = PagePlacement::topLeft(printableTwips, picture.size(), true, true) * pixelsPerTwip;
    const QSizeF size = QSizeF(picture.size()) * (dpi / screenDpi);
    painter.drawImage(QRectF(corner, size), picture);
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

    // Without an installed printer the page can only go to a PDF file.
    const bool noPrinter
        = printer.outputFormat() == QPrinter::NativeFormat && printer.printerName().isEmpty();
    const bool unnamedPdf
        = printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty();
    if (noPrinter || unnamedPdf) {
        FileDialogRequest request;
        request.title = QStringLiteral("Imprimer dans un fichier PDF");
        request.filter = pdfFilter();
        request.defaultExtension = QStringLiteral("pdf");
        request.fileName = QStringLiteral("impression.pdf");
        const std::optional<QString> name = m_services.saveFileName(request);
        if (!name)
            return Result::Cancelled;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(*name);
    }

    if (!printOn(printer, picture)) {
        m_services.message(MessageIcon::Error, failureTitle(), m_error);
        return Result::Failed;
    }
    return Result::Printed;
}

bool PicturePrinter::printOn(QPrinter &printer, const QImage &picture)
{
    m_error.clear();
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return writePdf(printer.outputFileName(), printer.pageLayout(), picture);

    QPainter painter;
    if (!painter.begin(&printer)) {
        m_error = QStringLiteral("L'imprimante « %1 » n'est pas disponible.")
                      .arg(printer.printerName());
        return false;
    }
    const double dpi = printer.resolution();
    paintCentred(painter, printer.pageLayout().paintRectPixels(printer.resolution()).size(), dpi,
                 picture);
    if (!painter.end() || printer.printerState() == QPrinter::Error) {
        m_error = QStringLiteral("L'imprimante « %1 » n'a pas pu imprimer la page.")
                      .arg(printer.printerName());
        return false;
    }
    return true;
}

bool PicturePrinter::writePdf(const QString &fileName, const QPageLayout &layout,
                              const QImage &picture)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        m_error = fileError(fileName, file.errorString());
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("Lorva avec frottement"));
        writer.setResolution(pdfResolution);
        writer.setPageLayout(layout);
        QPainter painter;
        if (!painter.begin(&writer)) {
            m_error = fileError(fileName, QString());
            file.cancelWriting();
            return false;
        }
        paintCentred(painter, layout.paintRectPixels(pdfResolution).size(), pdfResolution, picture);
        painter.end();
    }
    if (!file.commit()) {
        m_error = fileError(fileName, file.errorString());
        return false;
    }
    return true;
}
