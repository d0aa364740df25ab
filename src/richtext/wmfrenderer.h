// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QSize>

// Draws a Windows metafile (WMF), as Word keeps the picture of an equation
// and much clip art, into an image. Only the records such pictures are made
// of are drawn: the window's origin and extent, pens, brushes and fonts, lines,
// polylines, polygons, rectangles, ellipses and text (Symbol and Wingdings
// characters are mapped to Unicode). Other records are passed over.
//
// The data may start with the 22-byte "placeable" header or directly with the
// metafile header. Nothing is trusted: every record length is checked against
// the data, the object table and the saved states are capped, and the work
// done is bounded by the number of records.
namespace WmfRenderer {

// The picture drawn at size (in pixels) on a transparent background, or a
// null image when the data is not a metafile or holds nothing drawable.
QImage render(QByteArrayView wmf, QSize size);

} // namespace WmfRenderer
