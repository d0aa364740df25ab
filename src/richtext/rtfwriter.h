// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;
class QTextDocument;

// Writes a QTextDocument as RTF 1.x that WordPad, Word and LibreOffice open
// with the same look: font and colour tables, the character properties the
// reader knows (font, size, bold, italic, underline, strike-out, colours,
// super- and subscripts, capitals, links and bookmarks), paragraph alignment,
// indents, spacing, tab stops and page breaks, list paragraphs, tables with
// their column widths and pictures: those RtfReader read go back as they
// came (objects whole), others as PNG. Characters that Windows-1252 holds are
// written as "\'hh", the others as "\uN?". Reading the result back with
// RtfReader gives the same text and formats.
class RtfWriter
{
public:
    QByteArray write(const QTextDocument *document);

    // Writes to an open device; a file should be a QSaveFile committed by the
    // caller once this returns true.
    bool write(const QTextDocument *document, QIODevice *device);

    QString errorString() const { return m_error; }

private:
    QString m_error;
};
