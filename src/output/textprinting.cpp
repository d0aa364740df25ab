// SPDX-License-Identifier: GPL-3.0-or-later
#include "textprinting.h"

#include "pagedoutput.h"
#include "pictureprinter.h"

#include "platform/platformservices.h"

#include <QPrinter>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>

#include <memory>

TextPrinting::TextPrinting(PlatformServices &services)
    : m_services(services)
{ }

TextPrinting::Result TextPrinting::print(const QTextEdit &supertext)
{
    // The selection is printed as a document of its own, with its formats.
    std::unique_ptr<QTextDocument> selection;
    const QTextDocument *document = supertext.document();
    if (supertext.textCursor().hasSelection()) {
        selection = std::make_unique<QTextDocument>();
        selection->setDefaultFont(document->defaultFont());
        QTextCursor(selection.get()).insertFragment(supertext.textCursor().selection());
        document = selection.get();
    }
    return printDocument(*document, QStringLiteral("impression.pdf"));
}

TextPrinting::Result TextPrinting::printDocument(const QTextDocument &document,
                                                 const QString &pdfName)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Lorva avec frottement"));
    if (!m_services.printerSetup(printer))
        return Result::Cancelled;
    PicturePrinter pictures(m_services);
    if (!pictures.chooseOutput(printer, pdfName))
        return Result::Cancelled;
    if (!printOn(printer, document)) {
        m_services.message(MessageIcon::Error, PicturePrinter::failureTitle(), m_error);
        return Result::Failed;
    }
    return Result::Printed;
}

bool TextPrinting::printOn(QPrinter &printer, const QTextDocument &document)
{
    m_error.clear();
    const auto pages = [&document](QPagedPaintDevice &device, int, QString *) {
        document.print(&device);
        return true;
    };
    return PagedOutput::print(printer, QString(), pages, &m_error);
}
