#include "rtfparser.h"

#include <QByteArray>
#include <QHash>

namespace {

enum class Action : quint8 {
    // Destinations.
    FontTable,
    ColourTable,
    Picture,
    FieldInstruction,
    FieldResult,
    Open, // a destination whose text is shown: field, shppict, pntext, ...
    Skip, // a destination whose content is not text: stylesheet, info, ...
    // Document.
    Deff,
    UnicodeSkip,
    Unicode,
    // Characters.
    Font,
    FontSize,
    Charset,
    Red,
    Green,
    Blue,
    Plain,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    Super,
    Sub,
    NoSuperSub,
    Hidden,
    Foreground,
    Background,
    Character, // a word that stands for one character
    // Paragraphs.
    Pard,
    Par,
    Line,
    AlignLeft,
    AlignCentre,
    AlignRight,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstIndent,
    SpaceBefore,
    SpaceAfter,
    InTable,
    // Tables.
    RowDefinition,
    Cell,
    Row,
    // Pictures.
    Png,
    Jpeg,
    OtherPicture,
    GoalWidth,
    GoalHeight,
    ScaleX,
    ScaleY,
};

struct Entry
{
    Action action;
    char16_t character = 0;
};

const QHash<QByteArray, Entry> &wordTable()
{
    static const QHash<QByteArray, Entry> table = [] {
        QHash<QByteArray, Entry> t;
        const auto add = [&t](const char *name, Action action, char16_t c = 0) {
            t.insert(QByteArray(name), Entry {action, c});
        };
        add("fonttbl", Action::FontTable);
        add("colortbl", Action::ColourTable);
        add("pict", Action::Picture);
        add("fldinst", Action::FieldInstruction);
        add("fldrslt", Action::FieldResult);
        for (const char *name : {"field", "shppict", "pntext", "listtext", "result", "object",
                                 "shprslt", "shptxt", "shp"})
            add(name, Action::Open);
        for (const char *name : {"stylesheet",
                                 "info",
                                 "header",
                                 "headerl",
                                 "headerr",
                                 "headerf",
                                 "footer",
                                 "footerl",
                                 "footerr",
                                 "footerf",
                                 "footnote",
                                 "annotation",
                                 "atnid",
                                 "atnauthor",
                                 "comment",
                                 "title",
                                 "author",
                                 "operator",
                                 "subject",
                                 "keywords",
                                 "doccomm",
                                 "xe",
                                 "tc",
                                 "txe",
                                 "private",
                                 "pn",
                                 "pnseclvl",
                                 "pntxtb",
                                 "pntxta",
                                 "objdata",
                                 "objclass",
                                 "objname",
                                 "datafield",
                                 "bkmkstart",
                                 "bkmkend",
                                 "listtable",
                                 "listoverridetable",
                                 "revtbl",
                                 "rsidtbl",
                                 "generator",
                                 "themedata",
                                 "colorschememapping",
                                 "latentstyles",
                                 "datastore",
                                 "xmlnstbl",
                                 "pgdsctbl",
                                 "filetbl",
                                 "template",
                                 "docvar",
                                 "userprops",
                                 "ftnsep",
                                 "ftnsepc",
                                 "aftnsep",
                                 "aftnsepc",
                                 "ftncn",
                                 "aftncn",
                                 "mmathPr",
                                 "nonshppict",
                                 "picprop",
                                 "fldtype",
                                 "falt",
                                 "panose",
                                 "shpinst",
                                 "factoidname",
                                 "protusertbl",
                                 "wgrffmtfilter",
                                 "pgptbl"})
            add(name, Action::Skip);
        add("deff", Action::Deff);
        add("uc", Action::UnicodeSkip);
        add("u", Action::Unicode);
        add("f", Action::Font);
        add("fs", Action::FontSize);
        add("fcharset", Action::Charset);
        add("red", Action::Red);
        add("green", Action::Green);
        add("blue", Action::Blue);
        add("plain", Action::Plain);
        add("b", Action::Bold);
        add("i", Action::Italic);
        for (const char *name : {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave",
                                 "ulldash", "ulth", "ulthd", "ulthdash", "ulthdashd", "ulthdashdd",
                                 "ulthldash", "ululdbwave", "ulw", "ulwave"})
            add(name, Action::Underline);
        add("ulnone", Action::UnderlineNone);
        add("strike", Action::Strike);
        add("striked", Action::Strike);
        add("super", Action::Super);
        add("sub", Action::Sub);
        add("nosupersub", Action::NoSuperSub);
        // Raised and lowered text, as LibreOffice writes super- and subscripts.
        add("up", Action::Super);
        add("dn", Action::Sub);
        add("v", Action::Hidden);
        add("cf", Action::Foreground);
        add("highlight", Action::Background);
        add("cb", Action::Background);
        add("chcbpat", Action::Background);
        add("tab", Action::Character, u'\t');
        add("emdash", Action::Character, 0x2014);
        add("endash", Action::Character, 0x2013);
        add("emspace", Action::Character, 0x2003);
        add("enspace", Action::Character, 0x2002);
        add("qmspace", Action::Character, 0x2005);
        add("bullet", Action::Character, 0x2022);
        add("lquote", Action::Character, 0x2018);
        add("rquote", Action::Character, 0x2019);
        add("ldblquote", Action::Character, 0x201C);
        add("rdblquote", Action::Character, 0x201D);
        add("zwj", Action::Character, 0x200D);
        add("zwnj", Action::Character, 0x200C);
        add("zwbo", Action::Character, 0x200B);
        add("ltrmark", Action::Character, 0x200E);
        add("rtlmark", Action::Character, 0x200F);
        add("pard", Action::Pard);
        add("par", Action::Par);
        add("sect", Action::Par);
        add("page", Action::Par);
        add("line", Action::Line);
        add("ql", Action::AlignLeft);
        add("qc", Action::AlignCentre);
        add("qr", Action::AlignRight);
        add("qj", Action::AlignJustify);
        add("li", Action::LeftIndent);
        add("ri", Action::RightIndent);
        add("fi", Action::FirstIndent);
        add("sb", Action::SpaceBefore);
        add("sa", Action::SpaceAfter);
        add("intbl", Action::InTable);
        add("trowd", Action::RowDefinition);
        add("cell", Action::Cell);
        add("row", Action::Row);
        add("nestcell", Action::Character, u'\t');
        add("nestrow", Action::Line);
        add("pngblip", Action::Png);
        add("jpegblip", Action::Jpeg);
        for (const char *name :
             {"emfblip", "wmetafile", "macpict", "pmmetafile", "dibitmap", "wbitmap"})
            add(name, Action::OtherPicture);
        add("picwgoal", Action::GoalWidth);
        add("pichgoal", Action::GoalHeight);
        add("picscalex", Action::ScaleX);
        add("picscaley", Action::ScaleY);
        return t;
    }();
    return table;
}

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

void RtfParser::paragraphEnd()
{
    if (m_state.destination != Destination::Text)
        return;
    flush();
    place();
    m_builder.endParagraph(blockFormat(m_state.para));
    m_pendingPara = m_state.para;
}

void RtfParser::word(QByteArrayView name, bool hasParameter, int parameter)
{
    const auto found = wordTable().constFind(QByteArray::fromRawData(name.data(), name.size()));
    const bool starred = std::exchange(m_starred, false);
    if (found == wordTable().cend()) {
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
        m_state.destination = Destination::FontTable;
        m_fontBeingDefined = -1;
        m_fontName.clear();
        break;
    case Action::ColourTable:
        m_state.destination = Destination::ColourTable;
        m_colours.clear();
        m_red = m_green = m_blue = -1;
        break;
    case Action::Picture:
        m_state.destination = Destination::Picture;
        m_picture = Picture();
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
    case Action::Deff:
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
    case Action::RowDefinition:
        flush();
        m_rowOpen = true;
        break;
        break;
    case Action::Cell:
        if (m_state.destination == Destination::Text) {
            flush();
            m_builder.endCell(blockFormat(para));
            m_pendingPara = para;
        }
        break;
    case Action::Row:
        flush();
        m_builder.endRow();
        m_rowOpen = false;
        break;
    case Action::Png:
        m_picture.kind = Picture::Kind::Png;
        break;
    case Action::Jpeg:
        m_picture.kind = Picture::Kind::Jpeg;
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
