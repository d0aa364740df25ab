// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtfparser.h"

#include "platform/twips.h"
#include "rtfproperties.h"

#include "core/windows1252.h"

#include <algorithm>
#include <utility>

namespace {

// Lengths in RTF are in twips; the document lays text out in pixels of a
// 96 dpi screen.

// The code page of a font's character set ("\fcharset"); 0 for none known.
int codePageOfCharset(int charset)
{
    switch (charset) {
    case 0:
        return 1252;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    default:
        return 0;
    }
}

} // namespace

double RtfParser::pixelsOf(int twips)
{
    return twips / double(Twips::perPixel);
}

int RtfParser::twipsOf(double pixels)
{
    return qRound(std::clamp(pixels * double(Twips::perPixel), -1e9, 1e9));
}

const RtfParser::Font *RtfParser::font(int index) const
{
    const auto found = m_fonts.constFind(index < 0 ? m_defaultFont : index);
    return found == m_fonts.cend() ? nullptr : &*found;
}

void RtfParser::fontTableText(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (c != ';') {
            if (m_fontName.size() < 256)
                m_fontName.append(c);
            continue;
        }
        if (m_fontBeingDefined >= 0) {
            Font &f = m_fonts[m_fontBeingDefined];
            QString name = Windows1252::decode(m_fontName);
            // Control characters, and bytes the code page leaves undefined,
            // belong to no font name.
            name.removeIf([](QChar c) {
                return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F);
            });
            f.name = name.trimmed();
            f.symbol = RtfSymbolFonts::fromName(f.name);
            if (f.symbol == RtfSymbolFonts::Font::None) {
                // A font's own code page, else its character set's, else the
                // document's.
                int codePage = f.codePage > 0 ? f.codePage : codePageOfCharset(f.charset);
                if (codePage == 0)
                    codePage = m_ansiCodePage;
                f.decoder = decoder(codePage);
            }
            m_cacheValid = false;
        }
        m_fontName.clear();
        m_fontBeingDefined = -1;
    }
}

void RtfParser::colourTableText(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (c != ';')
            continue;
        // An entry without components is the automatic colour (usually the
        // first one).
        if (m_red < 0 && m_green < 0 && m_blue < 0)
            m_colours.append(QColor());
        else
            m_colours.append(QColor(std::max(m_red, 0), std::max(m_green, 0), std::max(m_blue, 0)));
        m_red = m_green = m_blue = -1;
        m_cacheValid = false;
    }
}

void RtfParser::startFieldResult()
{
    // Only links are kept: HYPERLINK "address" makes the result a link to it,
    // HYPERLINK \l "name" a link to the bookmark "#name" (after the address
    // when there is one).
    const QString instruction = m_fieldInstruction.trimmed();
    if (!instruction.startsWith(QLatin1String("HYPERLINK"), Qt::CaseInsensitive))
        return;
    const QString rest = instruction.mid(9);
    QString address;
    QString anchor;
    bool anchorNext = false;
    qsizetype i = 0;
    while (i < rest.size()) {
        if (rest.at(i).isSpace()) {
            ++i;
            continue;
        }
        QString argument;
        if (rest.at(i) == u'"') {
            // A quoted argument, in which \" stands for a quote and \\ for a
            // backslash.
            for (++i; i < rest.size() && rest.at(i) != u'"'; ++i) {
                if (rest.at(i) == u'\\' && i + 1 < rest.size())
                    ++i;
                argument += rest.at(i);
            }
            ++i;
        } else {
            while (i < rest.size() && !rest.at(i).isSpace())
                argument += rest.at(i++);
            if (argument.startsWith(u'\\')) {
                anchorNext = argument.compare(QLatin1String("\\l"), Qt::CaseInsensitive) == 0;
                continue;
            }
        }
        if (std::exchange(anchorNext, false))
            anchor = argument;
        else if (address.isEmpty())
            address = argument;
    }
    if (!anchor.isEmpty())
        address += u'#' + anchor;
    if (address.isEmpty())
        return;
    m_links.append(address);
    m_state.chars.link = int(m_links.size());
}

QTextCharFormat RtfParser::charFormat(const CharState &state, bool symbolMapped)
{
    if (m_cacheValid && m_cachedChars == state && m_cachedSymbolMapped == symbolMapped)
        return m_cachedFormat;
    QTextCharFormat format;
    const Font *f = font(state.font);
    // A character taken out of a symbol font shows in the text's usual font.
    if (f && symbolMapped && f->symbol != RtfSymbolFonts::Font::None)
        f = font(-1);
    if (f && !f->name.isEmpty() && !(symbolMapped && f->symbol != RtfSymbolFonts::Font::None))
        format.setFontFamilies(QStringList {f->name});
    format.setFontPointSize(state.halfPoints / 2.0);
    if (state.bold)
        format.setFontWeight(QFont::Bold);
    if (state.italic)
        format.setFontItalic(true);
    if (state.underline)
        format.setFontUnderline(true);
    if (state.strike)
        format.setFontStrikeOut(true);
    if (state.caps != QFont::MixedCase)
        format.setFontCapitalization(state.caps);
    if (state.position == VerticalPosition::Super)
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (state.position == VerticalPosition::Sub)
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (state.foreground > 0 && state.foreground < m_colours.size()
        && m_colours.at(state.foreground).isValid())
        format.setForeground(m_colours.at(state.foreground));
    if (state.background > 0 && state.background < m_colours.size()
        && m_colours.at(state.background).isValid())
        format.setBackground(m_colours.at(state.background));
    if (state.link > 0 && state.link <= m_links.size()) {
        format.setAnchor(true);
        format.setAnchorHref(m_links.at(state.link - 1));
    }
    m_cachedChars = state;
    m_cachedSymbolMapped = symbolMapped;
    m_cachedFormat = format;
    m_cacheValid = true;
    return format;
}

QTextBlockFormat RtfParser::blockFormat(const ParaState &state) const
{
    QTextBlockFormat format;
    format.setAlignment(state.alignment);
    if (state.left != 0)
        format.setLeftMargin(state.left / double(Twips::perPixel));
    if (state.right != 0)
        format.setRightMargin(state.right / double(Twips::perPixel));
    if (state.firstLine != 0)
        format.setTextIndent(state.firstLine / double(Twips::perPixel));
    if (state.before != 0)
        format.setTopMargin(state.before / double(Twips::perPixel));
    if (state.after != 0)
        format.setBottomMargin(state.after / double(Twips::perPixel));
    if (state.pageBreakBefore)
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    // Tab stops are measured in RTF from the paragraph's left edge, in the
    // document from the start of the line: the first line's start here.
    const int lineStart = state.left + state.firstLine;
    QList<QTextOption::Tab> tabs;
    for (int tab : state.tabs) {
        if (tab > lineStart)
            tabs.append(
                QTextOption::Tab((tab - lineStart) / double(Twips::perPixel), QTextOption::LeftTab));
    }
    // A hanging indent stops the first tab of the paragraph's first line at
    // the indent, as word processors do after a list number.
    if (state.firstLine < 0 && state.left > 0
        && std::none_of(state.tabs.cbegin(), state.tabs.cend(),
                        [&state](int tab) { return tab == state.left; }))
        tabs.append(QTextOption::Tab(-state.firstLine / double(Twips::perPixel), QTextOption::LeftTab));
    if (!tabs.isEmpty()) {
        std::sort(tabs.begin(), tabs.end(),
                  [](const QTextOption::Tab &a, const QTextOption::Tab &b) {
                      return a.position < b.position;
                  });
        format.setTabPositions(tabs);
    }
    if (state.listOverride > 0) {
        format.setProperty(RtfProperties::ListOverride, state.listOverride);
        format.setProperty(RtfProperties::ListLevel, state.listLevel);
    } else if (!state.pn.isEmpty()) {
        format.setProperty(RtfProperties::ListPn, state.pn);
    }
    if (state.listTextLength > 0)
        format.setProperty(RtfProperties::ListTextLength, state.listTextLength);
    return format;
}
