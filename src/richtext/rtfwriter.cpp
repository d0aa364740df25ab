#include "rtfwriter.h"

#include "rtfsymbolfonts.h"

#include "platform/recordfile.h"
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

// Lengths are written in twips; the document's pixels are those of a 96 dpi
// screen.
constexpr double twipsPerPixel = Twips::perPixel;

// Total width given to a table's columns: a 6.25-inch text line.
constexpr int tableWidthTwips = 9000;

// The Windows-1252 byte of a character, or -1 when the code page has none.
int windows1252Byte(char16_t c)
{
    static const std::array<char16_t, 32> high = [] {
        std::array<char16_t, 32> table {};
        for (int i = 0; i < 32; ++i) {
            const char byte = char(0x80 + i);
            table[std::size_t(i)]
                = RecordFile::fromWindows1252(QByteArray(1, byte)).at(0).unicode();
        }
        return table;
    }();
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i) {
        if (high[std::size_t(i)] == c && c >= 0x100)
            return 0x80 + i;
    }
    return -1;
}

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
    void writeFragment(const QTextFragment &fragment);
    void writeImage(const QTextImageFormat &format);
    void writeText(const QString &text, bool symbolFont = false);
    void writeFontName(const QString &name);

    const QTextDocument *m_document;
    QStringList m_fonts;
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
    return int(std::max<qsizetype>(m_fonts.indexOf(family(format)), 0));
}

int Writer::colourIndex(const QBrush &brush) const
{
    if (brush.style() == Qt::NoBrush)
        return 0;
    return int(m_colours.indexOf(brush.color().rgb()) + 1);
}

void Writer::collect()
{
    m_fonts.append(m_document->defaultFont().family());
    for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            const QString name = family(format);
            if (!m_fonts.contains(name))
                m_fonts.append(name);
            for (const QBrush &brush : {format.foreground(), format.background()}) {
                if (brush.style() != Qt::NoBrush && !m_colours.contains(brush.color().rgb()))
                    m_colours.append(brush.color().rgb());
            }
        }
    }
}

void Writer::writeHeader()
{
    m_out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036{\\fonttbl";
    for (qsizetype i = 0; i < m_fonts.size(); ++i) {
        const bool symbol = m_fonts.at(i).compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0
            || m_fonts.at(i).startsWith(QLatin1String("Wingdings"), Qt::CaseInsensitive);
        m_out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset" + (symbol ? "2 " : "0 ");
        writeFontName(m_fonts.at(i));
        m_out += ";}";
    }
    m_out += "}\r\n{\\colortbl ;";
    for (QRgb rgb : m_colours) {
        m_out += "\\red" + QByteArray::number(qRed(rgb)) + "\\green"
            + QByteArray::number(qGreen(rgb)) + "\\blue" + QByteArray::number(qBlue(rgb)) + ';';
    }
    m_out += "}\r\n\\viewkind4\\uc1\r\n";
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
    const int width = tableWidthTwips / std::max(columns, 1);
    for (int row = 0; row < table->rows(); ++row) {
        m_out += "\\trowd\\trgaph108";
        for (int column = 0; column < columns; ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            if (cell.column() != column)
                continue;
            const int right = (column + cell.columnSpan()) * width;
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
        = [](double pixels) { return QByteArray::number(qRound(pixels * twipsPerPixel)); };
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
    m_out += ' ';
    for (auto it = block.begin(); !it.atEnd(); ++it)
        writeFragment(it.fragment());
    m_out += end;
}

void Writer::writeFragment(const QTextFragment &fragment)
{
    const QTextCharFormat format = fragment.charFormat();
    const bool link = format.isAnchor() && !format.anchorHref().isEmpty();
    if (link) {
        m_out += "{\\field{\\*\\fldinst HYPERLINK \"";
        QString address = format.anchorHref();
        address.replace(u'\\', QLatin1String("\\\\")).replace(u'"', QLatin1String("\\\""));
        writeText(address);
        m_out += "\"}{\\fldrslt ";
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
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        m_out += "\\super";
    else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
        m_out += "\\sub";
    if (const int fg = colourIndex(format.foreground()))
        m_out += "\\cf" + QByteArray::number(fg);
    if (const int bg = colourIndex(format.background()))
        m_out += "\\highlight" + QByteArray::number(bg);
    m_out += ' ';
    const QString text = fragment.text();
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
        + QByteArray::number(qRound(width * twipsPerPixel)) + "\\pichgoal"
        + QByteArray::number(qRound(height * twipsPerPixel)) + "\r\n";
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
        } else if (const int byte = symbolFont ? -1 : windows1252Byte(c); byte >= 0) {
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
        } else if (const int byte = windows1252Byte(c); byte >= 0x20 && c != u';') {
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
