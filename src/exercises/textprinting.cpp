#include "textprinting.h"

#include "output/pictureprinter.h"
#include "platform/platformservices.h"

#include <QDir>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>

#include <memory>

TextPrinting::TextPrinting(PlatformServices &services)
    : m_services(services)
{ }

TextPrinting::Result TextPrinting::print(const QTextEdit &supertext)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Lorva avec frottement"));
    if (!m_services.printerSetup(printer))
        return Result::Cancelled;
    PicturePrinter pictures(m_services);
    if (!pictures.chooseOutput(printer))
        return Result::Cancelled;

    // The selection is printed as a document of its own, with its formats.
    std::unique_ptr<QTextDocument> selection;
    const QTextDocument *document = supertext.document();
    if (supertext.textCursor().hasSelection()) {
        selection = std::make_unique<QTextDocument>();
        selection->setDefaultFont(document->defaultFont());
        QTextCursor(selection.get()).insertFragment(supertext.textCursor().selection());
        document = selection.get();
    }
    if (!printOn(printer, *document)) {
        m_services.message(MessageIcon::Error, PicturePrinter::failureTitle(), m_error);
        return Result::Failed;
    }
    return Result::Printed;
}

bool TextPrinting::printOn(QPrinter &printer, const QTextDocument &document)
{
    m_error.clear();
    if (!PicturePrinter::goesToPdf(printer)) {
        document.print(&printer);
        if (printer.printerState() == QPrinter::Error) {
            m_error = QStringLiteral("L'imprimante « %1 » n'a pas pu imprimer les pages.")
                          .arg(printer.printerName());
            return false;
        }
        return true;
    }
    const QString fileName = printer.outputFileName();
    QSaveFile file(fileName);
    const QString failure = QStringLiteral("Le fichier « %1 » n'a pas pu être écrit.")
                                .arg(QDir::toNativeSeparators(fileName));
    if (fileName.isEmpty() || !file.open(QIODevice::WriteOnly)) {
        m_error = failure;
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("Lorva avec frottement"));
        writer.setPageLayout(printer.pageLayout());
        document.print(&writer);
    }
    if (!file.commit()) {
        m_error = failure;
        return false;
    }
    return true;
}
