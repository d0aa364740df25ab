#include "rtfparser.h"

#include "platform/recordfile.h"

namespace {

// Limits on what a field instruction or a picture may collect, far above any
// real document, so that a hostile file cannot grow them without bound.
constexpr qsizetype maxInstruction = 2048;
constexpr qsizetype maxPictureBytes = 64 * 1024 * 1024;

} // namespace

RtfParser::RtfParser(QTextDocument *document)
    : m_builder(document)
{ }

void RtfParser::parse(const std::vector<RtfToken> &tokens)
{
    m_stack.reserve(RtfTokenizer::maxDepth + 1);
    for (const RtfToken &token : tokens) {
        if (m_skippedDepth > 0) {
            if (token.type == RtfToken::Type::GroupStart)
                ++m_skippedDepth;
            else if (token.type == RtfToken::Type::GroupEnd && --m_skippedDepth == 0)
                groupEnd();
            continue;
        }
        switch (token.type) {
        case RtfToken::Type::GroupStart:
            groupStart();
            break;
        case RtfToken::Type::GroupEnd:
            groupEnd();
            break;
        case RtfToken::Type::Word:
            if (m_pendingSkip > 0 && !m_starred) {
                --m_pendingSkip;
                break;
            }
            word(token.bytes, token.hasParameter, token.parameter);
            break;
        case RtfToken::Type::Symbol:
            if (m_pendingSkip > 0) {
                --m_pendingSkip;
                break;
            }
            symbol(char(token.parameter));
            break;
        case RtfToken::Type::Text:
            text(token.bytes);
            break;
        case RtfToken::Type::HexByte:
            if (m_pendingSkip > 0) {
                --m_pendingSkip;
                break;
            }
            byte(uchar(token.parameter));
            break;
        case RtfToken::Type::Binary:
            if (m_pendingSkip > 0)
                --m_pendingSkip;
            else if (m_state.destination == Destination::Picture
                     && token.bytes.size() <= maxPictureBytes)
                m_picture.binary = token.bytes.toByteArray();
            break;
        }
    }
    flush();
    m_builder.finish(blockFormat(m_pendingPara));
}

void RtfParser::groupStart()
{
    m_pendingSkip = 0;
    m_starred = false;
    m_stack.push_back(m_state);
    // A picture's own groups hold properties and identifiers, never data.
    if (m_state.destination == Destination::Picture)
        m_skippedDepth = 1;
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
    }
    m_state = outer;
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
            appendText(
                RecordFile::fromWindows1252(QByteArray::fromRawData(bytes.data(), bytes.size())),
                false);
        }
        break;
    }
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
        const char raw = char(value);
        appendText(RecordFile::fromWindows1252(QByteArray::fromRawData(&raw, 1)), false);
        break;
    }
    case Destination::FontTable:
        m_fontName.append(char(value));
        break;
    case Destination::FieldInstruction: {
        const char raw = char(value);
        if (m_fieldInstruction.size() < maxInstruction)
            m_fieldInstruction += RecordFile::fromWindows1252(QByteArray::fromRawData(&raw, 1));
        break;
    }
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
    // In a symbol font, "\u" names a real character unless it lies in the
    // private range where Word puts the font's own characters.
    if (f && f->symbol != RtfSymbolFonts::Font::None && code >= 0xF020 && code <= 0xF0FF) {
        if (const char16_t mapped = RtfSymbolFonts::toUnicode(f->symbol, char16_t(code))) {
            appendText(QString(QChar(mapped)), true);
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
    m_builder.place(m_pendingPara.inTable || m_rowOpen);
    m_builder.insertText(m_pending, charFormat(m_pendingChars, m_pendingSymbolMapped));
    m_pending.clear();
}

void RtfParser::place()
{
    m_builder.place(m_state.para.inTable || m_rowOpen);
}
