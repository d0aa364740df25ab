// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QList>
#include <QPair>
#include <QSize>
#include <QString>

// What a PDF file holds, read with the poppler tools (Debian poppler-utils).
// Tests QSKIP when available() is false.
namespace PdfPages {

bool available();
// Number of pages; -1 when the file cannot be read.
int count(const QString &path);
// Text of page (from 1).
QString text(const QString &path, int page);
// Page (from 1) and pixel size of each image of the file, in order.
QList<QPair<int, QSize>> images(const QString &path);
// The pixels of every image of the file, in order, as stored (extracted into
// PNG files in folder).
QList<QImage> imagePixels(const QString &path, const QString &folder);
// Page (from 1) rendered at dpi into a PNG in folder; a null image on failure.
QImage render(const QString &path, int page, int dpi, const QString &folder);

} // namespace PdfPages
