// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtfparser.h"

#include "rtfwords.h"

namespace {

using RtfWords::Action;

// Lengths in twips are kept within 22 inches either way.
int twips(int value)
{
    return std::clamp(value, -31680, 31680);
}

} // namespace

void RtfParser::symbol(char c)
{
    switch (c) {
    case '*':
        m_starred = true;
        return;
    case '~':
        character(0x00A0);
        break;
    case '-':
        character(0x00AD);
        break;
    case '_':
        character(0x2011);
        break;
    case '\\':
    case '{':
    case '}':
        if (m_state.destination == Destination::Text)
            character(char16_t(c));
        else
            text(QByteArrayView(&c, 1));
        break;
    case '\t':
        character(u'\t');
        break;
    default:
        break;
    }
    m_starred = false;
}

RtfParser::ParaState RtfParser::closingParagraph()
{
    ParaState para = m_state.para;
    if (para.listOverride > 0 || !para.pn.isEmpty())
        para.listTextLength = m_listTextLength;
    if (std::exchange(m_breakNext, false))
        para.pageBreakBefore = true;
    m_listTextLength = 0;
    return para;
}

void RtfParser::paragraphEnd()
{
    if (m_state.destination != Destination::Text || m_state.container > 0)
        return;
    flush();
    place();
    m_builder->endParagraph(blockFormat(closingParagraph()));
    m_pendingPara = m_state.para;
}

void RtfParser::word(QByteArrayView name, bool hasParameter, int parameter)
{
    const RtfWords::Entry *found = RtfWords::find(name);
    const bool starred = std::exchange(m_starred, false);
    if (!found) {
        // An optional destination this reader does not know: its whole group
        // goes, the text after it stays.
        if (starred)
            m_skippedDepth = 1;
        return;
    }
    const bool on = !hasParameter || parameter != 0;
    CharState &chars = m_state.chars;
    ParaState &para = m_state.para;
    switch (found->action) {
    case Action::FontTable:
        // Text waiting for insertion was decoded with the fonts defined so far.
        flush();
        m_state.destination = Destination::FontTable;
        m_fontBeingDefined = -1;
        m_fontName.clear();
        break;
    case Action::ColourTable:
        flush();
        m_state.destination = Destination::ColourTable;
        m_colours.clear();
        m_red = m_green = m_blue = -1;
        break;
    case Action::Picture:
        m_state.destination = Destination::Picture;
        m_picture = Picture();
        m_picture.group = wholeGroup();
        break;
    case Action::FieldInstruction:
        m_state.destination = Destination::FieldInstruction;
        m_fieldInstruction.clear();
        break;
    case Action::FieldResult:
        m_state.destination = Destination::Text;
        startFieldResult();
        break;
    case Action::Open:
        break;
    case Action::Skip:
        m_skippedDepth = 1;
        break;
    case Action::KeepHeader:
        if (m_headerGroups.size() < 64 && !wholeGroup().isEmpty())
            m_headerGroups.append(wholeGroup().toByteArray());
        m_skippedDepth = 1;
        break;
    case Action::Pn:
        if (wholeGroup().size() <= 4096)
            para.pn = wholeGroup().toByteArray();
        m_skippedDepth = 1;
        break;
    case Action::ListText:
        flush();
        m_state.destination = Destination::Text;
        m_state.listText = true;
        break;
    case Action::Footnote:
        startFootnote();
        break;
    case Action::FootnoteMark:
        if (m_state.destination == Destination::Text) {
            const int number = m_footnoteDepth > 0 ? m_footnotes : ++m_footnotes;
            appendText(QString::number(std::max(number, 1)), false);
        }
        break;
    case Action::Object:
        if (m_state.container == 0 && !wholeGroup().isEmpty()) {
            m_containers.push_back(Container {wholeGroup()});
            m_state.container = int(m_containers.size());
        }
        break;
    case Action::ObjectWidth:
        if (m_state.container > 0)
            m_containers.back().goalWidth = std::clamp(parameter, 0, 31680);
        break;
    case Action::ObjectHeight:
        if (m_state.container > 0)
            m_containers.back().goalHeight = std::clamp(parameter, 0, 31680);
        break;
    case Action::Bookmark:
        m_state.destination = Destination::Bookmark;
        m_bookmark.clear();
        break;
    case Action::AnsiCodePage:
        m_ansiCodePage = std::clamp(parameter, 0, 65535);
        break;
    case Action::CodePage:
        if (m_state.destination == Destination::FontTable && m_fontBeingDefined >= 0)
            m_fonts[m_fontBeingDefined].codePage = std::clamp(parameter, 0, 65535);
        break;
    case Action::Deff:
        flush();
        m_defaultFont = parameter;
        break;
    case Action::UnicodeSkip:
        m_state.unicodeSkip = std::clamp(parameter, 0, 16);
        break;
    case Action::Unicode:
        if (hasParameter)
            unicode(parameter);
        break;
    case Action::Font:
        if (m_state.destination == Destination::FontTable) {
            if (m_fontBeingDefined >= 0 && !m_fontName.trimmed().isEmpty())
                fontTableText(";");
            m_fontBeingDefined = parameter;
            m_fontName.clear();
        } else {
            chars.font = parameter;
        }
        break;
    case Action::FontSize:
        chars.halfPoints = hasParameter ? std::clamp(parameter, 2, 3276) : 24;
        break;
    case Action::Charset:
        if (m_state.destination == Destination::FontTable && m_fontBeingDefined >= 0)
            m_fonts[m_fontBeingDefined].charset = parameter;
        break;
    case Action::Red:
        m_red = std::clamp(parameter, 0, 255);
        break;
    case Action::Green:
        m_green = std::clamp(parameter, 0, 255);
        break;
    case Action::Blue:
        m_blue = std::clamp(parameter, 0, 255);
        break;
    case Action::Plain: {
        const int link = chars.link;
        chars = CharState();
        chars.link = link;
        break;
    }
    case Action::Bold:
        chars.bold = on;
        break;
    case Action::Italic:
        chars.italic = on;
        break;
    case Action::Underline:
        chars.underline = on;
        break;
    case Action::UnderlineNone:
        chars.underline = false;
        break;
    case Action::Strike:
        chars.strike = on;
        break;
    case Action::Super:
        chars.position = on ? VerticalPosition::Super : VerticalPosition::Normal;
        break;
    case Action::Sub:
        chars.position = on ? VerticalPosition::Sub : VerticalPosition::Normal;
        break;
    case Action::NoSuperSub:
        chars.position = VerticalPosition::Normal;
        break;
    case Action::Hidden:
        chars.hidden = on;
        break;
    case Action::Caps:
        chars.caps = on ? QFont::AllUppercase : QFont::MixedCase;
        break;
    case Action::SmallCaps:
        chars.caps = on ? QFont::SmallCaps : QFont::MixedCase;
        break;
    case Action::Foreground:
        chars.foreground = std::max(parameter, 0);
        break;
    case Action::Background:
        chars.background = std::max(parameter, 0);
        break;
    case Action::Character:
        character(found->character);
        break;
    case Action::Pard:
        para = ParaState();
        break;
    case Action::Par:
        paragraphEnd();
        break;
    case Action::Line:
        character(QChar::LineSeparator);
        break;
    case Action::AlignLeft:
        para.alignment = Qt::AlignLeft;
        break;
    case Action::AlignCentre:
        para.alignment = Qt::AlignHCenter;
        break;
    case Action::AlignRight:
        para.alignment = Qt::AlignRight;
        break;
    case Action::AlignJustify:
        para.alignment = Qt::AlignJustify;
        break;
    case Action::LeftIndent:
        para.left = twips(parameter);
        break;
    case Action::RightIndent:
        para.right = twips(parameter);
        break;
    case Action::FirstIndent:
        para.firstLine = twips(parameter);
        break;
    case Action::SpaceBefore:
        para.before = std::max(twips(parameter), 0);
        break;
    case Action::SpaceAfter:
        para.after = std::max(twips(parameter), 0);
        break;
    case Action::InTable:
        para.inTable = on;
        break;
    case Action::Page:
        // A break after a paragraph mark starts the next paragraph on a new
        // page; one within a paragraph also ends it.
        if (m_state.destination == Destination::Text && m_state.container == 0) {
            flush();
            if (!m_builder->atParagraphStart())
                paragraphEnd();
            m_breakNext = true;
        }
        break;
    case Action::PageBreakBefore:
        para.pageBreakBefore = on;
        break;
    case Action::TabStop:
        if (para.tabs.size() < 64)
            para.tabs.append(std::clamp(parameter, 0, 31680));
        break;
    case Action::ListOverride:
        para.listOverride = std::clamp(parameter, 0, 32767);
        break;
    case Action::ListLevel:
        para.listLevel = std::clamp(parameter, 0, 8);
        break;
    case Action::RowDefinition:
        if (m_state.container > 0)
            break;
        flush();
        m_rowOpen = true;
        m_builder->startRowDefinition();
        break;
    case Action::CellBoundary:
        m_builder->addCellBoundary(pixelsOf(twips(parameter)));
        break;
    case Action::Cell:
        if (m_state.destination == Destination::Text && m_state.container == 0) {
            flush();
            m_builder->endCell(blockFormat(closingParagraph()));
            m_pendingPara = para;
        }
        break;
    case Action::Row:
        if (m_state.container > 0)
            break;
        flush();
        m_builder->endRow();
        m_rowOpen = false;
        break;
    case Action::Png:
        m_picture.kind = Picture::Kind::Png;
        break;
    case Action::Jpeg:
        m_picture.kind = Picture::Kind::Jpeg;
        break;
    case Action::Wmf:
        m_picture.kind = Picture::Kind::Wmf;
        break;
    case Action::OtherPicture:
        m_picture.kind = Picture::Kind::Unknown;
        break;
    case Action::GoalWidth:
        m_picture.goalWidth = std::clamp(parameter, 0, 31680);
        break;
    case Action::GoalHeight:
        m_picture.goalHeight = std::clamp(parameter, 0, 31680);
        break;
    case Action::ScaleX:
        m_picture.scaleX = std::clamp(parameter, 1, 1000);
        break;
    case Action::ScaleY:
        m_picture.scaleY = std::clamp(parameter, 1, 1000);
        break;
    }
}
