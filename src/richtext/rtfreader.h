// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

class QIODevice;
class QTextDocument;

// Reads an RTF text into a QTextDocument: fonts (each decoded in its code
// page), sizes, bold, italic, underline, strike-out, capitals, colours,
// super- and subscripts, paragraph alignment, indents, spacing, tab stops and
// page breaks, tables with their column widths, list paragraphs (their
// numbers shown as text), links and bookmarks, footnotes (shown after the
// text), PNG, JPEG and metafile pictures (others, and objects without a
// picture, show as a grey frame). Greek letters and arrows written in the
// "Symbol" font become their Unicode characters. What the document cannot
// hold itself (pictures' and objects' RTF, list tables) is kept for RtfWriter.
//
// The whole text is checked before the document is touched: when read()
// returns false, errorString() holds a French message for the user and the
// document is as it was. On success the document's previous content, undo
// history and resources are replaced.
class RtfReader
{
public:
    // Files larger than this are refused rather than read into memory.
    static constexpr qint64 maxFileSize = 64 * 1024 * 1024;

    bool read(QByteArrayView rtf, QTextDocument *document);
    bool read(QIODevice *device, QTextDocument *document);

    QString errorString() const { return m_error; }

private:
    QString m_error;
};
