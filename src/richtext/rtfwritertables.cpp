// SPDX-License-Identifier: GPL-3.0-or-later
// The tables of the RTF text: the font and colour tables of the header, which
// the body's "\f" and "\cf" name, and the text tables of the body.
#include "rtfdocumentwriter.h"

#include "rtfproperties.h"

#include "core/windows1252.h"

#include <QBrush>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>

using RtfWriting::twipsPerPixel;

namespace {

// Total width given to a table's columns: a 6.25-inch text line.
constexpr int tableWidthTwips = 9000;

} // namespace

QString RtfDocumentWriter::family(const QTextCharFormat &format) const
{
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    return m_document->defaultFont().family();
}

int RtfDocumentWriter::fontIndex(const QTextCharFormat &format) const
{
    const QString name = family(format);
    for (const Font &font : m_fonts) {
        if (font.name == name)
            return font.index;
    }
    return m_fonts.front().index;
}

int RtfDocumentWriter::colourIndex(const QBrush &brush) const
{
    if (brush.style() == Qt::NoBrush)
        return 0;
    return int(m_colours.indexOf(brush.color().rgb()) + 1);
}

void RtfDocumentWriter::collect()
{
    // The fonts the text was read with keep their numbers, which the groups
    // kept from it (list tables) name.
    int next = 0;
    const auto add = [this, &next](int index, const QString &name) {
        for (const Font &font : m_fonts) {
            if (font.index == index || font.name == name)
                return;
        }
        m_fonts.push_back(Font {index, name});
        next = std::max(next, index + 1);
    };
    const QTextFrameFormat root = m_document->rootFrame()->frameFormat();
    if (root.hasProperty(RtfProperties::HeaderGroups)) {
        for (const QString &entry : root.property(RtfProperties::FontTable).toStringList()) {
            const QStringList parts = entry.split(u' ');
            bool indexOk = false;
            const int index = parts.value(0).toInt(&indexOk);
            const QString name = entry.section(u' ', 1);
            if (indexOk && index >= 0 && index < 32768 && !name.isEmpty())
                add(index, name);
        }
    }
    add(next, m_document->defaultFont().family());
    // The default font first, whatever its number.
    std::stable_partition(m_fonts.begin(), m_fonts.end(), [this](const Font &font) {
        return font.name == m_document->defaultFont().family();
    });
    for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            add(next, family(format));
            for (const QBrush &brush : {format.foreground(), format.background()}) {
                if (brush.style() != Qt::NoBrush && !m_colours.contains(brush.color().rgb()))
                    m_colours.append(brush.color().rgb());
            }
        }
    }
}

void RtfDocumentWriter::writeHeader()
{
    m_out += "{\\rtf1\\ansi\\ansicpg1252\\deff" + QByteArray::number(m_fonts.front().index)
        + "\\deflang1036{\\fonttbl";
    for (const Font &font : m_fonts) {
        const bool symbol = font.name.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0
            || font.name.startsWith(QLatin1String("Wingdings"), Qt::CaseInsensitive);
        // Text is written in Windows-1252 or as "\\u", whatever character set
        // the font was read with.
        m_out += "{\\f" + QByteArray::number(font.index) + "\\fnil\\fcharset"
            + (symbol ? "2 " : "0 ");
        writeFontName(font.name);
        m_out += ";}";
    }
    m_out += "}\r\n{\\colortbl ;";
    for (QRgb rgb : m_colours) {
        m_out += "\\red" + QByteArray::number(qRed(rgb)) + "\\green"
            + QByteArray::number(qGreen(rgb)) + "\\blue" + QByteArray::number(qBlue(rgb)) + ';';
    }
    m_out += "}\r\n";
    const QTextFrameFormat root = m_document->rootFrame()->frameFormat();
    for (const QByteArray &group :
         root.property(RtfProperties::HeaderGroups).value<QByteArrayList>()) {
        // Only whole groups, as the reader kept them.
        if (group.startsWith('{') && group.endsWith('}'))
            m_out += group + "\r\n";
    }
    m_out += "\\viewkind4\\uc1\r\n";
}

void RtfDocumentWriter::writeTable(const QTextTable *table)
{
    const int columns = table->columns();
    // The right edge of each column: from the widths the table was read
    // with, else equal parts of a text line.
    std::vector<int> edges;
    const QList<QTextLength> widths = table->format().columnWidthConstraints();
    int edge = 0;
    for (int column = 0; column < columns; ++column) {
        if (widths.size() == columns && widths.at(column).type() == QTextLength::FixedLength)
            edge += std::max(qRound(widths.at(column).rawValue() * twipsPerPixel), 1);
        else
            edge += tableWidthTwips / std::max(columns, 1);
        edges.push_back(edge);
    }
    for (int row = 0; row < table->rows(); ++row) {
        m_out += "\\trowd\\trgaph108";
        for (int column = 0; column < columns; ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            if (cell.column() != column)
                continue;
            const int right = edges[std::size_t(
                std::min(column + std::max(cell.columnSpan(), 1), columns) - 1)];
            m_out += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10"
                     "\\clbrdrr\\brdrs\\brdrw10\\cellx"
                + QByteArray::number(right);
        }
        m_out += "\r\n";
        for (int column = 0; column < columns; ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            if (cell.column() != column)
                continue;
            if (cell.row() != row) {
                // The lower part of a cell spanning rows is written empty.
                m_out += "\\pard\\intbl\\cell\r\n";
                continue;
            }
            const QTextBlock last = cell.lastCursorPosition().block();
            for (QTextBlock block = cell.firstCursorPosition().block(); block.isValid();
                 block = block.next()) {
                const bool isLast = block == last;
                writeBlock(block, true, isLast ? "\\cell\r\n" : "\\par\r\n");
                if (isLast)
                    break;
            }
        }
        m_out += "\\row\r\n";
    }
}

// A font name is plain bytes of the code page: no control word may stand in it.
void RtfDocumentWriter::writeFontName(const QString &name)
{
    static constexpr char digits[] = "0123456789abcdef";
    for (const QChar qc : name) {
        const char16_t c = qc.unicode();
        if (c >= 0x20 && c < 0x7F && c != u';' && c != u'\\' && c != u'{' && c != u'}') {
            m_out += char(c);
        } else if (const int byte = Windows1252::byteOf(c); byte >= 0x20 && c != u';') {
            m_out += "\\'";
            m_out += digits[byte >> 4];
            m_out += digits[byte & 15];
        }
    }
}
