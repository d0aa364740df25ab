// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtfdocumentbuilder.h"

#include "rtfproperties.h"

#include <QImage>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextTable>
#include <QUrl>

RtfDocumentBuilder::RtfDocumentBuilder(QTextDocument *document, QTextDocument *resources)
    : m_document(document)
    , m_resources(resources ? resources : document)
    , m_cursor(document)
    , m_editBlock(document)
{
    // Inside one edit block the document neither places the cursor nor tells
    // its layout after each insertion; it does both once, at the end.
    m_editBlock.beginEditBlock();
}

RtfDocumentBuilder::~RtfDocumentBuilder()
{
    m_editBlock.endEditBlock();
}

void RtfDocumentBuilder::place(bool inTable)
{
    if (!inTable) {
        if (m_table)
            writeTable();
        return;
    }
    if (!m_table) {
        m_table = Table();
        m_table->rows.push_back(Row(1, Cell(1)));
        m_table->columns = 1;
        m_table->boundaries = m_boundaries;
        return;
    }
    Table &table = *m_table;
    if (table.rowEnded) {
        if (qsizetype(table.rows.size() + 1) * table.columns > maxCells) {
            writeTable();
            place(true);
            return;
        }
        table.rows.push_back(Row(1, Cell(1)));
    } else if (table.cellEnded) {
        Row &row = table.rows.back();
        if (int(row.size()) < maxColumns
            && qsizetype(table.rows.size()) * std::max<qsizetype>(table.columns, row.size() + 1)
                <= maxCells) {
            row.push_back(Cell(1));
            table.columns = std::max(table.columns, int(row.size()));
        } else {
            row.back().back().items.push_back({QStringLiteral("\t"), QTextCharFormat()});
        }
    }
    table.rowEnded = false;
    table.cellEnded = false;
}

void RtfDocumentBuilder::insertItem(Item item)
{
    if (m_table) {
        m_table->rows.back().back().back().items.push_back(std::move(item));
        return;
    }
    if (item.format.isImageFormat())
        m_cursor.insertImage(item.format.toImageFormat());
    else
        m_cursor.insertText(item.text, item.format);
    m_lastBlockEmpty = false;
}

void RtfDocumentBuilder::insertText(const QString &text, const QTextCharFormat &format)
{
    insertItem({text, format});
}

void RtfDocumentBuilder::insertImage(const QImage &image, double width, double height,
                                     const QByteArray &raw, const QString &shared)
{
    QUrl name;
    if (!shared.isEmpty()) {
        name = QUrl(shared);
        if (!m_resources->resource(QTextDocument::ImageResource, name).isValid())
            m_resources->addResource(QTextDocument::ImageResource, name, image);
    } else {
        do {
            name = QUrl(QStringLiteral("rtfimage:%1").arg(++m_imageCount));
        } while (m_resources->resource(QTextDocument::ImageResource, name).isValid());
        m_resources->addResource(QTextDocument::ImageResource, name, image);
    }
    QTextImageFormat format;
    format.setName(name.toString());
    format.setWidth(width);
    format.setHeight(height);
    if (!raw.isEmpty())
        format.setProperty(RtfProperties::RawGroup, raw);
    insertItem({QString(), format});
}

void RtfDocumentBuilder::startRowDefinition()
{
    m_boundaries.clear();
}

void RtfDocumentBuilder::addCellBoundary(double pixels)
{
    if (int(m_boundaries.size()) < maxColumns)
        m_boundaries.push_back(pixels);
}

void RtfDocumentBuilder::endParagraph(const QTextBlockFormat &format)
{
    if (m_table) {
        Cell &cell = m_table->rows.back().back();
        cell.back().format = format;
        cell.push_back(Paragraph {format, {}});
        return;
    }
    m_cursor.setBlockFormat(format);
    m_cursor.insertBlock(format);
    m_lastBlockEmpty = true;
}

void RtfDocumentBuilder::endCell(const QTextBlockFormat &format)
{
    place(true);
    m_table->rows.back().back().back().format = format;
    m_table->cellEnded = true;
}

void RtfDocumentBuilder::endRow()
{
    if (m_table)
        m_table->rowEnded = true;
}

void RtfDocumentBuilder::writeParagraphs(const Cell &cell)
{
    bool first = true;
    for (const Paragraph &paragraph : cell) {
        if (!first)
            m_cursor.insertBlock(paragraph.format);
        m_cursor.setBlockFormat(paragraph.format);
        first = false;
        for (const Item &item : paragraph.items) {
            if (item.format.isImageFormat())
                m_cursor.insertImage(item.format.toImageFormat());
            else
                m_cursor.insertText(item.text, item.format);
        }
    }
}

void RtfDocumentBuilder::writeRowsAsText()
{
    for (const Row &row : m_table->rows) {
        if (!m_lastBlockEmpty)
            m_cursor.insertBlock();
        for (std::size_t column = 0; column < row.size(); ++column) {
            if (column > 0)
                m_cursor.insertText(QStringLiteral("\t"));
            for (const Paragraph &paragraph : row[column]) {
                for (const Item &item : paragraph.items) {
                    if (!item.format.isImageFormat())
                        m_cursor.insertText(item.text, item.format);
                }
            }
        }
        m_lastBlockEmpty = false;
    }
}

void RtfDocumentBuilder::writeTable()
{
    const Table table = std::move(*m_table);
    m_table.reset();
    if (m_tableCount >= maxTables) {
        m_table = table;
        writeRowsAsText();
        m_table.reset();
        return;
    }
    ++m_tableCount;
    // A table goes in after the paragraph the cursor stands in, which
    // QTextDocument keeps before it: the empty paragraph that the last
    // paragraph mark opened gives way to the paragraph before it.
    if (m_lastBlockEmpty && m_cursor.block().previous().isValid() && !m_cursor.currentTable()
        && !QTextCursor(m_cursor.block().previous()).currentTable()) {
        m_cursor.deletePreviousChar();
    }
    QTextTableFormat format;
    format.setBorder(1);
    format.setCellPadding(2);
    format.setCellSpacing(0);
    // Column widths from the cells' right edges, when the first row gives
    // one increasing edge per column.
    if (int(table.boundaries.size()) == table.columns) {
        QList<QTextLength> widths;
        double left = 0;
        for (double edge : table.boundaries) {
            if (edge <= left)
                break;
            widths.append(QTextLength(QTextLength::FixedLength, edge - left));
            left = edge;
        }
        if (widths.size() == table.columns)
            format.setColumnWidthConstraints(widths);
    }
    QTextTable *written = m_cursor.insertTable(int(table.rows.size()), table.columns, format);
    for (std::size_t row = 0; row < table.rows.size(); ++row) {
        for (std::size_t column = 0; column < table.rows[row].size(); ++column) {
            m_cursor = written->cellAt(int(row), int(column)).firstCursorPosition();
            writeParagraphs(table.rows[row][column]);
        }
    }
    m_cursor = written->lastCursorPosition();
    m_cursor.movePosition(QTextCursor::NextBlock);
    m_lastBlockEmpty = m_cursor.block().length() <= 1;
}

void RtfDocumentBuilder::finish(const QTextBlockFormat &lastFormat)
{
    if (m_table)
        writeTable();
    if (!m_lastBlockEmpty) {
        m_cursor.setBlockFormat(lastFormat);
        return;
    }
    // The paragraph mark that ends the last paragraph opens an empty one that
    // no writer means as text.
    QTextCursor end(m_document);
    end.movePosition(QTextCursor::End);
    const QTextBlock last = end.block();
    if (last.length() <= 1 && last.previous().isValid() && !end.currentTable()
        && !QTextCursor(last.previous()).currentTable())
        end.deletePreviousChar();
}
