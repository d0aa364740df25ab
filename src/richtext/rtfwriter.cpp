// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtfwriter.h"

#include "rtfdocumentwriter.h"
#include "rtfproperties.h"
#include "rtfsymbolfonts.h"

#include "core/windows1252.h"

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

using RtfWriting::twipsPerPixel;

QByteArray RtfDocumentWriter::run()
{
    collect();
    writeHeader();
    writeFrame(m_document->rootFrame());
    m_out += "}\r\n";
    return m_out;
}

void RtfDocumentWriter::writeFrame(const QTextFrame *frame)
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

void RtfDocumentWriter::writeBlock(const QTextBlock &block, bool inTable, const char *end)
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
void RtfDocumentWriter::writeFragment(const QTextFragment &fragment, int from, int length)
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

void RtfDocumentWriter::writeImage(const QTextImageFormat &format)
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
        + QByteArray::number(qRound(width * twipsPerPixel)) + "\\pichgoal"
        + QByteArray::number(qRound(height * twipsPerPixel)) + "\r\n";
    const QByteArray hex = png.toHex();
    for (qsizetype i = 0; i < hex.size(); i += 128)
        m_out += hex.mid(i, 128) + "\r\n";
    m_out += '}';
}

void RtfDocumentWriter::writeText(const QString &text, bool symbolFont)
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

QByteArray RtfWriter::write(const QTextDocument *document)
{
    m_error.clear();
    return RtfDocumentWriter(document).run();
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
