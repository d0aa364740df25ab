// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class QPagedPaintDevice;
class QPrinter;

// The one path by which the program prints: the pages go to the printer set
// up by the user or, when that printer is a PDF file (chosen as one, or the
// native printer of a system without any), into that file. The PDF file is
// written at 1200 dpi and replaced only once every page is complete and on
// disk; a failure leaves the previous file as it was.
namespace PagedOutput {

// Paints every page on device, whose resolution is dpi, starting new pages
// itself; returns false (with a reason in *error when it has one) when the
// device refuses a page.
using Pages = std::function<bool(QPagedPaintDevice &device, int dpi, QString *error)>;

constexpr int pdfResolution = 1200;

// True when pages sent to printer go to a PDF file.
bool goesToPdf(const QPrinter &printer);

// Sends the pages to printer, or into its PDF file (the document's title is
// title). On failure *error says, in French, what went wrong: the printer
// that could not print, or the file that could not be written.
bool print(QPrinter &printer, const QString &title, const Pages &pages, QString *error);

} // namespace PagedOutput
