// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtfparser.h"

#include "core/windows1252.h"

#include <QTextDocument>

namespace {

// Limits on what a field instruction or a picture may collect, far above any
// real document, so that a hostile file cannot grow them without bound.
constexpr qsizetype maxInstruction = 2048;
constexpr qsizetype maxPictureBytes = 64 * 1024 * 1024;

} // namespace

RtfParser::RtfParser(QTextDocument *document)
    : m_document(document)
    , m_main(document)
{ }

RtfParser::~RtfParser() = default;

void RtfParser::parse(const std::vector<RtfToken> &tokens)
{
    m_stack.reserve(RtfTokenizer::maxDepth + 1);
    // Where each group ends: a checked text closes every group it opens.
    std::vector<std::size_t> ends(tokens.size(), tokens.size());
    std::vector<std::size_t> open;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].type == RtfToken::Type::GroupStart) {
            open.push_back(i);
        } else if (tokens[i].type == RtfToken::Type::GroupEnd && !open.empty()) {
            ends[open.back()] = i;
            open.pop_back();
        }
    }
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const RtfToken &token = tokens[i];
        if (token.type != RtfToken::Type::Text && token.type != RtfToken::Type::HexByte)
            decodeBytes();
        if (m_skippedDepth > 0) {
            if (token.type == RtfToken::Type::GroupStart)
                ++m_skippedDepth;
            else if (token.type == RtfToken::Type::GroupEnd && --m_skippedDepth == 0)
                groupEnd();
            continue;
        }
        switch (token.type) {
        case RtfToken::Type::GroupStart: {
            const char *begin = token.bytes.data();
            const char *end = ends[i] < tokens.size() ? tokens[ends[i]].bytes.data() + 1
                                                      : begin + token.bytes.size();
            groupStart(QByteArrayView(begin, end - begin));
            break;
        }
        case RtfToken::Type::GroupEnd:
            groupEnd();
            break;
        case RtfToken::Type::Word:
            if (!m_starred && skipsFallback())
                break;
            word(token.bytes, token.hasParameter, token.parameter);
            m_state.fresh = false;
            break;
        case RtfToken::Type::Symbol:
            if (skipsFallback())
                break;
            symbol(char(token.parameter));
            if (token.parameter != '*')
                m_state.fresh = false;
            break;
        case RtfToken::Type::Text:
            text(token.bytes);
            m_state.fresh = false;
            break;
        case RtfToken::Type::HexByte:
            if (skipsFallback())
                break;
            byte(uchar(token.parameter));
            m_state.fresh = false;
            break;
        case RtfToken::Type::Binary:
            if (!skipsFallback() && m_state.destination == Destination::Picture
                && token.bytes.size() <= maxPictureBytes)
                m_picture.binary = token.bytes.toByteArray();
            m_state.fresh = false;
            break;
        }
    }
    decodeBytes();
    finishDocument();
}

bool RtfParser::skipsFallback()
{
    if (m_pendingSkip <= 0)
        return false;
    --m_pendingSkip;
    return true;
}

void RtfParser::groupStart(QByteArrayView group)
{
    m_pendingSkip = 0;
    m_starred = false;
    m_stack.push_back(m_state);
    m_state.group = group;
    m_state.fresh = true;
    if (m_footnoteDepth > 0)
        ++m_footnoteDepth;
    // A picture's own groups hold properties and identifiers, never data.
    if (m_state.destination == Destination::Picture)
        m_skippedDepth = 1;
}

QByteArrayView RtfParser::wholeGroup() const
{
    return m_state.fresh ? m_state.group : QByteArrayView();
}

void RtfParser::groupEnd()
{
    m_pendingSkip = 0;
    m_starred = false;
    if (m_stack.empty())
        return;
    const Destination ending = m_state.destination;
    const GroupState outer = m_stack.back();
    m_stack.pop_back();
    if (m_skippedDepth == 0) {
        if (ending == Destination::Picture && outer.destination != Destination::Picture)
            finishPicture();
        if (ending == Destination::FontTable && outer.destination != Destination::FontTable)
            fontTableText(";");
        if (ending == Destination::Bookmark && outer.destination != Destination::Bookmark
            && !m_bookmark.trimmed().isEmpty()) {
            flush();
            if (m_anchorNames.size() < 16)
                m_anchorNames.append(m_bookmark.trimmed());
        }
        if (m_state.container > 0 && m_state.container != outer.container)
            finishContainer(m_containers[std::size_t(m_state.container - 1)]);
    }
    m_state = outer;
    if (m_footnoteDepth > 0 && --m_footnoteDepth == 0)
        endFootnote();
}

void RtfParser::text(QByteArrayView bytes)
{
    if (m_pendingSkip > 0) {
        const qsizetype dropped = std::min<qsizetype>(m_pendingSkip, bytes.size());
        m_pendingSkip -= int(dropped);
        bytes = bytes.sliced(dropped);
        if (bytes.isEmpty())
            return;
    }
    switch (m_state.destination) {
    case Destination::Text: {
        if (m_state.chars.hidden)
            return;
        const Font *f = font(m_state.chars.font);
        if (f && f->symbol != RtfSymbolFonts::Font::None) {
            for (char b : bytes)
                byte(uchar(b));
        } else {
            m_bytes.append(bytes);
            // A long run is decoded in pieces (a multi-byte character may
            // then be split, once in 64 KiB).
            if (m_bytes.size() >= 65536)
                decodeBytes();
        }
        break;
    }
    case Destination::Bookmark:
        if (m_bookmark.size() < maxInstruction)
            m_bookmark += Windows1252::decode(bytes);
        break;
    case Destination::FontTable:
        fontTableText(bytes);
        break;
    case Destination::ColourTable:
        colourTableText(bytes);
        break;
    case Destination::Picture:
        if (m_picture.hex.size() + bytes.size() <= maxPictureBytes)
            m_picture.hex.append(bytes);
        break;
    case Destination::FieldInstruction:
        if (m_fieldInstruction.size() < maxInstruction)
            m_fieldInstruction += QString::fromLatin1(bytes);
        break;
    case Destination::Skip:
        break;
    }
}

void RtfParser::byte(uchar value)
{
    switch (m_state.destination) {
    case Destination::Text: {
        if (m_state.chars.hidden)
            return;
        const Font *f = font(m_state.chars.font);
        if (f && f->symbol != RtfSymbolFonts::Font::None) {
            const char16_t mapped = RtfSymbolFonts::toUnicode(f->symbol, value);
            if (mapped)
                appendText(QString(QChar(mapped)), true);
            else if (value >= 0x20)
                appendText(QString(QChar(char16_t(value))), false);
            return;
        }
        m_bytes.append(char(value));
        break;
    }
    case Destination::FontTable:
        m_fontName.append(char(value));
        break;
    case Destination::FieldInstruction: {
        const char raw = char(value);
        if (m_fieldInstruction.size() < maxInstruction)
            m_fieldInstruction += Windows1252::decode(QByteArrayView(&raw, 1));
        break;
    }
    case Destination::Bookmark:
    case Destination::ColourTable:
    case Destination::Picture:
    case Destination::Skip:
        break;
    }
}

void RtfParser::unicode(int code)
{
    m_pendingSkip = std::clamp(m_state.unicodeSkip, 0, 16);
    if (code < 0)
        code += 65536;
    if (code < 0 || code > 0xFFFF)
        return;
    if (m_state.destination != Destination::Text || m_state.chars.hidden)
        return;
    const Font *f = font(m_state.chars.font);
    // The private range U+F020..U+F0FF is where Word and LibreOffice put the
    // characters of symbol fonts: they are read as the same bytes in the
    // font, and as Symbol's when the font is not a symbol font (a bullet
    // written without its font).
    if (code >= 0xF020 && code <= 0xF0FF) {
        const RtfSymbolFonts::Font table = f && f->symbol != RtfSymbolFonts::Font::None
            ? f->symbol
            : RtfSymbolFonts::Font::Symbol;
        if (const char16_t mapped = RtfSymbolFonts::toUnicode(table, char16_t(code))) {
            appendText(QString(QChar(mapped)), f && f->symbol != RtfSymbolFonts::Font::None);
            return;
        }
    }
    character(char16_t(code));
}

void RtfParser::character(char16_t c)
{
    if (m_state.destination != Destination::Text || m_state.chars.hidden)
        return;
    // Characters that would break the document's structure: line and
    // paragraph separators come from control words, objects from pictures.
    if ((c < 0x20 && c != u'\t') || c == 0x2029 || c == 0xFFFC || c == 0x7F)
        return;
    appendText(QString(QChar(c)), false);
}

void RtfParser::appendText(const QString &text, bool symbolMapped)
{
    // An object shows its picture, which writes the object back whole: its
    // text would be written twice.
    if (m_state.container > 0)
        return;
    if (!m_pending.isEmpty()
        && (!(m_pendingChars == m_state.chars) || m_pendingSymbolMapped != symbolMapped
            || m_pendingPara.inTable != m_state.para.inTable))
        flush();
    if (m_pending.isEmpty()) {
        m_pendingChars = m_state.chars;
        m_pendingSymbolMapped = symbolMapped;
        m_pendingPara = m_state.para;
    }
    m_pending += text;
    if (m_state.listText)
        m_listTextLength += int(text.size());
}

void RtfParser::decodeBytes()
{
    if (m_bytes.isEmpty())
        return;
    const Font *f = font(m_state.chars.font);
    if (QStringDecoder *known = f ? f->decoder : decoder(m_ansiCodePage)) {
        appendText(known->decode(m_bytes), false);
    } else {
        appendText(Windows1252::decode(m_bytes), false);
    }
    m_bytes.clear();
}

void RtfParser::flush()
{
    if (m_pending.isEmpty())
        return;
    // Control characters of the code page (bytes below 0x20) are not text.
    for (QChar &c : m_pending) {
        if ((c.unicode() < 0x20 && c != u'\t') || c.unicode() == 0x7F)
            c = u' ';
    }
    m_builder->place(m_pendingPara.inTable || m_rowOpen);
    QTextCharFormat format = charFormat(m_pendingChars, m_pendingSymbolMapped);
    if (!m_anchorNames.isEmpty()) {
        format.setAnchor(true);
        format.setAnchorNames(m_anchorNames);
        m_anchorNames.clear();
    }
    m_builder->insertText(m_pending, format);
    m_pending.clear();
}

void RtfParser::place()
{
    m_builder->place(m_state.para.inTable || m_rowOpen);
}
