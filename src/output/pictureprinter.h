// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPageLayout>
#include <QString>

class PlatformServices;
class QPagedPaintDevice;
class QPrinter;

// Prints pictures at their on-screen size (96 dpi), pixel for pixel (a PDF
// keeps them without lossy compression). When the chosen printer
// is a PDF file, or when no printer is installed and none was chosen, the
// pages are written as a PDF whose name is asked for if the printer has none;
// the file is replaced only once every page is complete. A failure is
// reported with a message box titled "Impression impossible".
class PicturePrinter
{
public:
    enum class Result { Printed, Cancelled, Failed };

    // What a job puts on paper: copies pages, each with the title at the
    // top-left of the printable area (Arial 12 bold; nothing when empty) and
    // the picture placed by PagePlacement::topLeft.
    struct Job
    {
        QImage picture;
        QString title;
        int copies = 1;
        bool centreHorizontally = true;
        bool centreVertically = true;
    };

    explicit PicturePrinter(PlatformServices &services);

    // The graph window's command: printer set-up (a cancel prints nothing),
    // then one page with the picture centred, in the given orientation.
    Result print(const QImage &picture, QPageLayout::Orientation orientation);

    // Sends job to a printer already set up: asks for the PDF name when the
    // pages must go to an unnamed file (a cancel gives Cancelled, silently),
    // prints, and shows the failure message when printing fails.
    Result printJob(QPrinter &printer, const Job &job);

    // Prints job on printer (or into its PDF file, see above) without any
    // dialog. Fills errorString() on failure.
    bool printOn(QPrinter &printer, const Job &job);
    QString errorString() const { return m_error; }

    // The printer's name as the user knows it; "Imprimer dans un fichier
    // (PDF)" for a PDF file, followed by " : " and the file's name once known.
    static QString shownName(const QPrinter &printer);

    static QString failureTitle() { return QStringLiteral("Impression impossible"); }
    static QString pdfFilter() { return QStringLiteral("Document PDF (*.pdf)"); }
    static QString pdfPrinterName() { return QStringLiteral("Imprimer dans un fichier (PDF)"); }

    // Asks for the PDF name (the dialog opening on suggested) when the
    // printer's pages go to an unnamed file, and makes the printer a PDF
    // printer of that name; false when the user cancels. Nothing to ask for
    // a named file or a real printer.
    bool chooseOutput(QPrinter &printer,
                      const QString &suggested = QStringLiteral("impression.pdf"));

private:
    PlatformServices &m_services;
    QString m_error;
};
