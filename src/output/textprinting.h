// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class PlatformServices;
class QPrinter;
class QTextDocument;
class QTextEdit;

// Prints the text of the exercise area: the printer set-up first (a cancel
// prints nothing), then the selection when there is one, else the whole
// text, paginated as the rich-text document lays itself out. On a machine
// without a printer the pages go to a PDF file whose name is asked for; the
// file is replaced only once complete. A failure shows a message titled
// "Impression impossible".
class TextPrinting
{
public:
    enum class Result { Printed, Cancelled, Failed };

    explicit TextPrinting(PlatformServices &services);

    Result print(const QTextEdit &supertext);
    // Prints document the same way: printer set-up, the PDF's name (the
    // dialog opening on pdfName) without a printer, the failure message.
    Result printDocument(const QTextDocument &document, const QString &pdfName);
    // Prints document on a printer already set up; fills errorString().
    bool printOn(QPrinter &printer, const QTextDocument &document);
    QString errorString() const { return m_error; }

private:
    PlatformServices &m_services;
    QString m_error;
};
