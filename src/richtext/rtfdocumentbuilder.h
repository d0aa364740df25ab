// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

#include <optional>
#include <vector>

class QImage;
class QTextDocument;

// Puts what the RTF reader finds into a QTextDocument: runs of text,
// paragraph ends, table cells and rows, images. The reader says whether the
// text belongs in a table; the builder starts, grows and ends tables.
//
// A table is gathered whole and inserted when it ends: QTextDocument rescans
// its frames after every change of a table's shape, so growing a table row by
// row costs time in the square of the document's size. Tables are also capped
// (maxColumns, maxCells, maxTables) so that a hostile file cannot ask for
// millions of cells: cells beyond the columns go into the row's last cell
// after a tab, rows beyond the cells start a new table, and rows beyond the
// tables become paragraphs with tabs between the cells.
class RtfDocumentBuilder
{
public:
    static constexpr int maxColumns = 64;
    static constexpr int maxCells = 4096;
    static constexpr int maxTables = 200;

    // Images are added as resources of resources, by default the document.
    explicit RtfDocumentBuilder(QTextDocument *document, QTextDocument *resources = nullptr);
    ~RtfDocumentBuilder();
    RtfDocumentBuilder(const RtfDocumentBuilder &) = delete;
    RtfDocumentBuilder &operator=(const RtfDocumentBuilder &) = delete;

    // Moves into the current table cell (starting the table, its next row or
    // next cell when needed) or out of the table, before any content.
    void place(bool inTable);

    void insertText(const QString &text, const QTextCharFormat &format);
    // raw, when not empty, is the RTF the image was read from, kept for the
    // writer. An image given a shared name is added once and shown by every
    // image of that name.
    void insertImage(const QImage &image, double width, double height, const QByteArray &raw,
                     const QString &shared = QString());
    void endParagraph(const QTextBlockFormat &format);
    void endCell(const QTextBlockFormat &format);
    void endRow();
    // Whether nothing was written since the last paragraph end, outside tables.
    bool atParagraphStart() const { return !m_table && m_lastBlockEmpty; }
    // A row definition ("\trowd") and the right edge of each of its cells
    // ("\cellx", in pixels): a table takes its column widths from its first row.
    void startRowDefinition();
    void addCellBoundary(double pixels);

    // Ends any table, gives the last paragraph its format and removes the
    // empty paragraph a final paragraph mark leaves behind.
    void finish(const QTextBlockFormat &lastFormat);

private:
    struct Item
    {
        QString text;
        QTextCharFormat format;
    };
    struct Paragraph
    {
        QTextBlockFormat format;
        std::vector<Item> items;
    };
    using Cell = std::vector<Paragraph>;
    using Row = std::vector<Cell>;
    struct Table
    {
        std::vector<Row> rows;
        int columns = 0;
        std::vector<double> boundaries; // pixels, of the first row
        bool cellEnded = false;         // the next content starts a new cell
        bool rowEnded = false;          // the next content starts a new row
    };

    void insertItem(Item item);
    void writeTable();
    void writeParagraphs(const Cell &cell);
    void writeRowsAsText();

    QTextDocument *m_document;
    QTextDocument *m_resources;
    std::vector<double> m_boundaries; // of the row being defined
    QTextCursor m_cursor;
    QTextCursor m_editBlock;
    std::optional<Table> m_table;
    int m_tableCount = 0;
    int m_imageCount = 0;
    bool m_lastBlockEmpty = true; // nothing written since the last paragraph end
};
