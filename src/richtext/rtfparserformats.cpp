#include "rtfparser.h"

#include "platform/recordfile.h"
#include "platform/twips.h"

#include <QBuffer>
#include <QImageReader>

namespace {

// Lengths in RTF are in twips; the document lays text out in pixels of a
// 96 dpi screen.
constexpr double twipsPerPixel = Twips::perPixel;

// Pictures larger than this are not decoded: a few bytes of a hostile file
// could otherwise claim gigabytes.
constexpr qint64 maxPicturePixels = 40'000'000;
constexpr double maxPictureSide = 10000.0;

} // namespace

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
            QString name = RecordFile::fromWindows1252(m_fontName);
            // Control characters, and bytes the code page leaves undefined,
            // belong to no font name.
            name.removeIf([](QChar c) {
                return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F);
            });
            f.name = name.trimmed();
            f.symbol = RtfSymbolFonts::fromName(f.name);
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

void RtfParser::finishPicture()
{
    if (m_picture.kind == Picture::Kind::Unknown || m_state.chars.hidden)
        return;
    QByteArray data
        = m_picture.binary.isEmpty() ? QByteArray::fromHex(m_picture.hex) : m_picture.binary;
    m_picture.hex.clear();
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, m_picture.kind == Picture::Kind::Png ? "png" : "jpeg");
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty()
        || qint64(size.width()) * size.height() > maxPicturePixels)
        return;
    const QImage image = reader.read();
    if (image.isNull())
        return;
    const double width
        = m_picture.goalWidth > 0 ? m_picture.goalWidth / twipsPerPixel : double(image.width());
    const double height
        = m_picture.goalHeight > 0 ? m_picture.goalHeight / twipsPerPixel : double(image.height());
    flush();
    place();
    m_builder.insertImage(image, std::clamp(width * m_picture.scaleX / 100.0, 1.0, maxPictureSide),
                          std::clamp(height * m_picture.scaleY / 100.0, 1.0, maxPictureSide));
}

void RtfParser::startFieldResult()
{
    // Only links are kept: HYPERLINK "address" makes the result a link to it.
    const QString instruction = m_fieldInstruction.trimmed();
    if (!instruction.startsWith(QLatin1String("HYPERLINK"), Qt::CaseInsensitive))
        return;
    QString rest = instruction.mid(9).trimmed();
    QString address;
    if (rest.startsWith(u'"')) {
        // A quoted address, in which \" stands for a quote and \\ for a
        // backslash.
        for (qsizetype i = 1; i < rest.size() && rest.at(i) != u'"'; ++i) {
            if (rest.at(i) == u'\\' && i + 1 < rest.size())
                ++i;
            address += rest.at(i);
        }
    } else {
        address = rest.section(u' ', 0, 0);
    }
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
        format.setLeftMargin(state.left / twipsPerPixel);
    if (state.right != 0)
        format.setRightMargin(state.right / twipsPerPixel);
    if (state.firstLine != 0)
        format.setTextIndent(state.firstLine / twipsPerPixel);
    if (state.before != 0)
        format.setTopMargin(state.before / twipsPerPixel);
    if (state.after != 0)
        format.setBottomMargin(state.after / twipsPerPixel);
    return format;
}
