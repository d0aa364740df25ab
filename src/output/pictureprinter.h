#pragma once

#include <QImage>
#include <QPageLayout>
#include <QString>

class PlatformServices;
class QPrinter;

// Prints one picture on one page at its on-screen size (96 dpi), centred on
// the printable area. The user first sets up the printer through the
// platform services; a cancel prints nothing. When the chosen printer is a
// PDF file, or when no printer is installed and the set-up left none chosen,
// the page is written as a PDF whose name is asked for if the set-up gave
// none; the file is replaced only once the page is complete. A failure is
// reported with a message box titled "Impression impossible".
class PicturePrinter
{
public:
    enum class Result { Printed, Cancelled, Failed };

    explicit PicturePrinter(PlatformServices &services);

    // The whole command: set-up, orientation, page, and any error message.
    Result print(const QImage &picture, QPageLayout::Orientation orientation);

    // Draws the picture centred on the page of an already set-up printer (or
    // into a PDF, see above) without any dialog. Fills errorString() on failure.
    bool printOn(QPrinter &printer, const QImage &picture);
    QString errorString() const { return m_error; }

    static QString failureTitle() { return QStringLiteral("Impression impossible"); }
    static QString pdfFilter() { return QStringLiteral("Document PDF (*.pdf)"); }

private:
    bool writePdf(const QString &fileName, const QPageLayout &layout, const QImage &picture);

    PlatformServices &m_services;
    QString m_error;
};
