// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtfwriter.h"

#include "rtfproperties.h"
#include "rtfsymbolfonts.h"

#include "core/windows1252.h"
#include "platform/twips.h"

#include <QBuffer>
#include <QFont>
#include <QIODevice>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

#include <array>
#include <cmath>

namespace {

// Total width given to a table's columns: a 6.25-inch text line.
constexpr int tableWidthTwips = 9000;

class Writer
{
public:
    explicit Writer(const QTextDocument *document)
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

QString Writer::family(const QTextCharFormat &format) const
{
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    return m_document->defaultFont().family();
}

int Writer::fontIndex(const QTextCharFormat &format) const
{
    const QString name = family(format);
    for (const Font &font : m_fonts) {
        if (font.name == name)
            return font.index;
    }
    return m_fonts.front().index;
}

int Writer::colourIndex(const QBrush &brush) const
{
    if (brush.style() == Qt::NoBrush)
        return 0;
    return int(m_colours.indexOf(brush.color().rgb()) + 1);
}

void Writer::collect()
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

void Writer::writeHeader()
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

QByteArray Writer::run()
{
    collect();
    writeHeader();
    writeFrame(m_document->rootFrame());
    m_out += "}\r\n";
    return m_out;
}

void Writer::writeFrame(const QTextFrame *frame)
{
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (const QTextFrame *child = it.currentFrame()) {
            if (const auto *table = qobject_cast<const QTextTable *>(child))
                writeTable(table);
            else
                writeFrame(child);
        } else {
            writeBlock(it.currentBlock(), false, "\\par\r\n");
        }
    }
}

void Writer::writeTable(const QTextTable *table)
{
    const int columns = table->columns();
    // The right edge of each column: from the widths the table was read
    // with, else equal parts of a text line.
    std::vector<int> edges;
    const QList<QTextLength> widths = table->format().columnWidthConstraints();
    int edge = 0;
    for (int column = 0; column < columns; ++column) {
        if (widths.size() == columns && widths.at(column).type() == QTextLength::FixedLength)
            edge += std::max(qRound(widths.at(column).rawValue() * Twips::perPixel), 1);
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

void Writer::writeBlock(const QTextBlock &block, bool inTable, const char *end)
{
    const QTextBlockFormat format = block.blockFormat();
    m_out += inTable ? "\\pard\\intbl" : "\\pard";
    const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignHCenter)
        m_out += "\\qc";
    else if (alignment & Qt::AlignJustify)
        m_out += "\\qj";
    else if (alignment & (Qt::AlignRight | Qt::AlignTrailing))
        m_out += "\\qr";
    const auto twips
        = [](double pixels) { return QByteArray::number(qRound(pixels * Twips::perPixel)); };
    const double left = format.leftMargin() + format.indent() * m_document->indentWidth();
    if (left != 0)
        m_out += "\\li" + twips(left);
    if (format.rightMargin() != 0)
        m_out += "\\ri" + twips(format.rightMargin());
    if (format.textIndent() != 0)
        m_out += "\\fi" + twips(format.textIndent());
    if (format.topMargin() != 0)
        m_out += "\\sb" + twips(format.topMargin());
    if (format.bottomMargin() != 0)
        m_out += "\\sa" + twips(format.bottomMargin());
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        m_out += "\\pagebb";
    // A tab stop is measured from the start of the first line, in RTF from
    // the paragraph's left edge.
    for (const QTextOption::Tab &tab : format.tabPositions())
        m_out += "\\tx" + twips(tab.position + left + format.textIndent());
    // A list paragraph: its list, and its number or bullet in the group that
    // holds it, which readers that know the list draw themselves.
    int listText = 0;
    const char *listGroup = nullptr;
    if (format.hasProperty(RtfProperties::ListOverride)) {
        m_out += "\\ls" + QByteArray::number(format.intProperty(RtfProperties::ListOverride))
            + "\\ilvl" + QByteArray::number(format.intProperty(RtfProperties::ListLevel));
        listGroup = "{\\listtext ";
    } else if (const QByteArray pn = format.property(RtfProperties::ListPn).toByteArray();
               pn.startsWith('{') && pn.endsWith('}')) {
        m_out += pn;
        listGroup = "{\\pntext ";
    }
    if (listGroup)
        listText = std::clamp(format.intProperty(RtfProperties::ListTextLength), 0,
                              std::max(block.length() - 1, 0));
    m_out += ' ';
    if (listText > 0)
        m_out += listGroup;
    int position = 0;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const int length = fragment.length();
        if (position < listText && position + length > listText) {
            writeFragment(fragment, 0, listText - position);
            m_out += '}';
            writeFragment(fragment, listText - position);
        } else {
            writeFragment(fragment);
            if (position + length == listText)
                m_out += '}';
        }
        position += length;
    }
    m_out += end;
}

// Writes length characters of the fragment from the one at from (all those
// after it when length is -1).
void Writer::writeFragment(const QTextFragment &fragment, int from, int length)
{
    const QTextCharFormat format = fragment.charFormat();
    if (from == 0) {
        for (const QString &name : format.anchorNames()) {
            QString escaped = name;
            escaped.remove(u'\\').remove(u'{').remove(u'}');
            for (const char *word : {"{\\*\\bkmkstart ", "{\\*\\bkmkend "}) {
                m_out += word;
                writeText(escaped);
                m_out += '}';
            }
        }
    }
    const bool link = format.isAnchor() && !format.anchorHref().isEmpty();
    if (link) {
        const auto quoted = [this](QString text) {
            text.replace(u'\\', QLatin1String("\\\\")).replace(u'"', QLatin1String("\\\""));
            m_out += '"';
            writeText(text);
            m_out += '"';
        };
        m_out += "{\\field{\\*\\fldinst HYPERLINK ";
        const QString href = format.anchorHref();
        // A link to a bookmark names it after "\\l".
        if (href.startsWith(u'#')) {
            m_out += "\\\\l ";
            quoted(href.mid(1));
        } else {
            quoted(href);
        }
        m_out += "}{\\fldrslt ";
    }
    m_out += "{\\f" + QByteArray::number(fontIndex(format));
    const double points = format.fontPointSize() > 0 ? format.fontPointSize()
                                                     : m_document->defaultFont().pointSizeF();
    m_out += "\\fs" + QByteArray::number(points > 0 ? qRound(points * 2) : 24);
    if (format.fontWeight() >= QFont::DemiBold)
        m_out += "\\b";
    if (format.fontItalic())
        m_out += "\\i";
    if (format.fontUnderline())
        m_out += "\\ul";
    if (format.fontStrikeOut())
        m_out += "\\strike";
    if (format.fontCapitalization() == QFont::AllUppercase)
        m_out += "\\caps";
    else if (format.fontCapitalization() == QFont::SmallCaps)
        m_out += "\\scaps";
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        m_out += "\\super";
    else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
        m_out += "\\sub";
    if (const int fg = colourIndex(format.foreground()))
        m_out += "\\cf" + QByteArray::number(fg);
    if (const int bg = colourIndex(format.background()))
        m_out += "\\highlight" + QByteArray::number(bg);
    m_out += ' ';
    const QString text = fragment.text().mid(from, length);
    if (format.isImageFormat()) {
        for (qsizetype i = 0; i < text.size(); ++i)
            writeImage(format.toImageFormat());
    } else {
        // Bytes in a symbol font stand for its pictures, not for Windows-1252.
        writeText(text, RtfSymbolFonts::fromName(family(format)) != RtfSymbolFonts::Font::None);
    }
    m_out += '}';
    if (link)
        m_out += "}}";
}

void Writer::writeImage(const QTextImageFormat &format)
{
    // A picture read from RTF goes back as it came, whatever was shown of it.
    if (const QByteArray raw = format.property(RtfProperties::RawGroup).toByteArray();
        raw.startsWith('{') && raw.endsWith('}')) {
        m_out += raw;
        return;
    }
    const QVariant resource
        = m_document->resource(QTextDocument::ImageResource, QUrl(format.name()));
    QImage image;
    if (resource.canConvert<QImage>())
        image = resource.value<QImage>();
    else if (resource.canConvert<QPixmap>())
        image = resource.value<QPixmap>().toImage();
    else if (resource.userType() == QMetaType::QByteArray)
        image.loadFromData(resource.toByteArray());
    if (image.isNull())
        return;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    const double width = format.width() > 0 ? format.width() : image.width();
    const double height = format.height() > 0 ? format.height() : image.height();
    m_out += "{\\pict\\pngblip\\picw" + QByteArray::number(image.width()) + "\\pich"
        + QByteArray::number(image.height()) + "\\picwgoal"
        + QByteArray::number(qRound(width * Twips::perPixel)) + "\\pichgoal"
        + QByteArray::number(qRound(height * Twips::perPixel)) + "\r\n";
    const QByteArray hex = png.toHex();
    for (qsizetype i = 0; i < hex.size(); i += 128)
        m_out += hex.mid(i, 128) + "\r\n";
    m_out += '}';
}

void Writer::writeText(const QString &text, bool symbolFont)
{
    static constexpr char digits[] = "0123456789abcdef";
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c >= 0x20 && c < 0x7F && !symbolFont) {
            if (c == u'\\' || c == u'{' || c == u'}')
                m_out += '\\';
            m_out += char(c);
        } else if (c == u'\t') {
            m_out += "\\tab ";
        } else if (c == QChar::LineSeparator) {
            m_out += "\\line ";
        } else if (c == 0x00A0) {
            m_out += "\\~";
        } else if (c == 0x00AD) {
            m_out += "\\-";
        } else if (c == 0x2011) {
            m_out += "\\_";
        } else if (c < 0x20 || c == 0x7F || c == QChar::ObjectReplacementCharacter
                   || c == QChar::ParagraphSeparator) {
            continue;
        } else if (const int byte = symbolFont ? -1 : Windows1252::byteOf(c); byte >= 0) {
            m_out += "\\'";
            m_out += digits[byte >> 4];
            m_out += digits[byte & 15];
        } else {
            m_out += "\\u" + QByteArray::number(int(qint16(c))) + '?';
        }
    }
}

// A font name is plain bytes of the code page: no control word may stand in it.
void Writer::writeFontName(const QString &name)
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

} // namespace

QByteArray RtfWriter::write(const QTextDocument *document)
{
    m_error.clear();
    return Writer(document).run();
}

bool RtfWriter::write(const QTextDocument *document, QIODevice *device)
{
    const QByteArray bytes = write(document);
    if (device->write(bytes) != bytes.size()) {
        m_error = QStringLiteral("Écriture du fichier impossible : %1").arg(device->errorString());
        return false;
    }
    return true;
}
