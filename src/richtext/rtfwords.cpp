// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtfwords.h"

#include <QByteArray>
#include <QHash>

namespace RtfWords {

namespace {

const QHash<QByteArray, Entry> &table()
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
        for (const char *name : {"field", "shppict", "result", "shprslt", "shptxt", "shp"})
            add(name, Action::Open);
        add("pntext", Action::ListText);
        add("listtext", Action::ListText);
        add("object", Action::Object);
        add("footnote", Action::Footnote);
        add("chftn", Action::FootnoteMark);
        add("bkmkstart", Action::Bookmark);
        for (const char *name : {"listtable", "listoverridetable", "info"})
            add(name, Action::KeepHeader);
        add("pn", Action::Pn);
        for (const char *name : {"stylesheet",   "header",      "headerl",     "headerr",
                                 "headerf",      "footer",      "footerl",     "footerr",
                                 "footerf",      "annotation",  "atnid",       "atnauthor",
                                 "comment",      "title",       "author",      "operator",
                                 "subject",      "keywords",    "doccomm",     "xe",
                                 "tc",           "txe",         "private",     "pnseclvl",
                                 "pntxtb",       "pntxta",      "objdata",     "objclass",
                                 "objname",      "datafield",   "bkmkend",     "revtbl",
                                 "rsidtbl",      "generator",   "themedata",   "colorschememapping",
                                 "latentstyles", "datastore",   "xmlnstbl",    "pgdsctbl",
                                 "filetbl",      "template",    "docvar",      "userprops",
                                 "ftnsep",       "ftnsepc",     "aftnsep",     "aftnsepc",
                                 "ftncn",        "aftncn",      "mmathPr",     "nonshppict",
                                 "picprop",      "fldtype",     "falt",        "panose",
                                 "shpinst",      "factoidname", "protusertbl", "wgrffmtfilter",
                                 "pgptbl"})
            add(name, Action::Skip);
        add("ansicpg", Action::AnsiCodePage);
        add("cpg", Action::CodePage);
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
        add("caps", Action::Caps);
        add("scaps", Action::SmallCaps);
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
        add("page", Action::Page);
        add("pagebb", Action::PageBreakBefore);
        add("tx", Action::TabStop);
        add("tb", Action::TabStop);
        add("ls", Action::ListOverride);
        add("ilvl", Action::ListLevel);
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
        add("cellx", Action::CellBoundary);
        add("cell", Action::Cell);
        add("row", Action::Row);
        add("nestcell", Action::Character, u'\t');
        add("nestrow", Action::Line);
        add("pngblip", Action::Png);
        add("jpegblip", Action::Jpeg);
        add("wmetafile", Action::Wmf);
        for (const char *name : {"emfblip", "macpict", "pmmetafile", "dibitmap", "wbitmap"})
            add(name, Action::OtherPicture);
        add("objw", Action::ObjectWidth);
        add("objh", Action::ObjectHeight);
        add("picwgoal", Action::GoalWidth);
        add("pichgoal", Action::GoalHeight);
        add("picscalex", Action::ScaleX);
        add("picscaley", Action::ScaleY);
        return t;
    }();
    return table;
}

} // namespace

const Entry *find(QByteArrayView name)
{
    const auto found = table().constFind(QByteArray::fromRawData(name.data(), name.size()));
    return found == table().cend() ? nullptr : &*found;
}

} // namespace RtfWords
