// SPDX-License-Identifier: GPL-3.0-or-later
#include "pagedoutput.h"

#include "core/atomicsave.h"
#include "platform/filemessages.h"

#include <QPdfWriter>
#include <QPrinter>

bool PagedOutput::goesToPdf(const QPrinter &printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return true;
    return printer.printerName().isEmpty();
}

bool PagedOutput::print(QPrinter &printer, const QString &title, const Pages &pages, QString *error)
{
    QString why;
    if (!goesToPdf(printer)) {
        const bool printed = pages(printer, printer.resolution(), &why);
        if (!printed)
            printer.abort();
        if (printed && printer.printerState() != QPrinter::Error)
            return true;
        if (error)
            *error = why.isEmpty() ? QStringLiteral("L'imprimante « %1 » n'a pas pu imprimer "
                                                    "les pages.")
                                         .arg(printer.printerName())
                                   : why;
        return false;
    }

    const QString fileName = printer.outputFileName();
    if (fileName.isEmpty()) {
        if (error)
            *error = QStringLiteral("Aucun fichier PDF n'a été choisi.");
        return false;
    }
    const bool written = AtomicSave::write(
        fileName,
        [&](QIODevice &device, QString *reason) {
            QPdfWriter writer(&device);
            writer.setCreator(QStringLiteral("Lorva avec frottement"));
            writer.setTitle(title);
            writer.setResolution(pdfResolution);
            writer.setPageLayout(printer.pageLayout());
            return pages(writer, pdfResolution, reason);
        },
        &why);
    if (!written && error)
        *error = FileMessages::notWritten(fileName, why);
    return written;
}
