// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictureprinter.h"

#include "pagedoutput.h"
#include "pageplacement.h"

#include "platform/platformservices.h"
#include "platform/twips.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

namespace {

constexpr double titlePoints = 12;

// Paints the pages of job on a device whose painter has its origin at the
// top-left of the printable area; dpi is the device's resolution. Returns
// false when the device refuses a new page.
bool paintPages(QPainter &painter, QPagedPaintDevice &device, const QSizeF &printablePixels,
                double dpi, const PicturePrinter::Job &job)
{
    const double pixelsPerTwip = dpi / Twips::perInch;
    const QSizeF printableTwips = printablePixels / pixelsPerTwip;
    const QPointF corner = PagePlacement::topLeft(printableTwips, job.picture.size(),
                                                  job.centreHorizontally, job.centreVertically)
        * pixelsPerTwip;
    const QRectF pictureRect(corner, QSizeF(job.picture.size()) * (dpi / Twips::screenDpi));

    // The font is sized in points on the device itself, so it prints at
    // 12 points whatever the device's resolution.
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPointSizeF(titlePoints);
    titleFont.setBold(true);
    // The picture goes on paper as it is on screen: a PDF keeps its pixels
    // (compressed without loss) instead of a JPEG that blurs thin coloured
    // lines.
    painter.setRenderHint(QPainter::LosslessImageRendering);

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

QString PicturePrinter::shownName(const QPrinter &printer)
{
    if (!PagedOutput::goesToPdf(printer))
        return printer.printerName();
    if (printer.outputFileName().isEmpty())
        return pdfPrinterName();
    return pdfPrinterName() + QStringLiteral(" : ")
        + QFileInfo(printer.outputFileName()).fileName();
}

bool PicturePrinter::chooseOutput(QPrinter &printer, const QString &suggested)
{
    if (!PagedOutput::goesToPdf(printer) || !printer.outputFileName().isEmpty())
        return true;
    FileDialogRequest request;
    request.title = QStringLiteral("Imprimer dans un fichier PDF");
    request.filter = pdfFilter();
    request.defaultExtension = QStringLiteral("pdf");
    request.fileName = suggested;
    const std::optional<QString> name = m_services.saveFileName(request);
    if (!name || name->isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(*name);
    return true;
}

bool PicturePrinter::printOn(QPrinter &printer, const Job &job)
{
    m_error.clear();
    if (job.copies < 1 || job.picture.isNull()) {
        m_error = QStringLiteral("Il n'y a rien à imprimer.");
        return false;
    }
    const auto pages = [&job, &printer](QPagedPaintDevice &device, int dpi, QString *error) {
        QPainter painter;
        if (!painter.begin(&device)) {
            if (&device == &printer)
                *error = QStringLiteral("L'imprimante « %1 » n'est pas disponible.")
                             .arg(printer.printerName());
            return false;
        }
        const QSizeF printable = device.pageLayout().paintRectPixels(dpi).size();
        const bool paged = paintPages(painter, device, printable, dpi, job);
        return painter.end() && paged;
    };
    return PagedOutput::print(printer, job.title, pages, &m_error);
}
