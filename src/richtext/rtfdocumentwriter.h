// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QRgb>
#include <QString>

#include <vector>

#include "platform/twips.h"

class QBrush;
class QTextBlock;
class QTextCharFormat;
class QTextDocument;
class QTextFragment;
class QTextFrame;
class QTextImageFormat;
class QTextTable;

// One writing of a document as RTF, for RtfWriter. The header's font and
// colour tables and the text tables are written by rtfwritertables.cpp, the
// paragraphs, characters and pictures by rtfwriter.cpp.
class RtfDocumentWriter
{
public:
    explicit RtfDocumentWriter(const QTextDocument *document)
        : m_document(document)
    { }

    QByteArray run();

private:
    void collect();
    int fontIndex(const QTextCharFormat &format) const;
    int colourIndex(const QBrush &brush) const;
    QString family(const QTextCharFormat &format) const;
    void writeHeader();
    void writeFrame(const QTextFrame *frame);
    void writeTable(const QTextTable *table);
    void writeBlock(const QTextBlock &block, bool inTable, const char *end);
    void writeFragment(const QTextFragment &fragment, int from = 0, int length = -1);
    void writeImage(const QTextImageFormat &format);
    void writeText(const QString &text, bool symbolFont = false);
    void writeFontName(const QString &name);

    struct Font
    {
        int index;
        QString name;
    };

    const QTextDocument *m_document;
    std::vector<Font> m_fonts;
    QList<QRgb> m_colours;
    QByteArray m_out;
};

namespace RtfWriting {

// Lengths are written in twips; the document's pixels are those of a 96 dpi
// screen.
constexpr double twipsPerPixel = Twips::perPixel;

} // namespace RtfWriting
