#pragma once

#include "rtfdocumentbuilder.h"
#include "rtfsymbolfonts.h"
#include "rtftokenizer.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

// Walks the tokens of a checked RTF text and builds the document: keeps the
// stack of group states (character and paragraph properties, destination),
// reads the font and colour tables, decodes text by its font's code page,
// collects pictures and field results. It cannot fail: what it does not know
// it skips, and every number it uses is clamped.
class RtfParser
{
public:
    explicit RtfParser(QTextDocument *document);

    void parse(const std::vector<RtfToken> &tokens);

private:
    enum class Destination : quint8 {
        Text,
        Skip,
        FontTable,
        ColourTable,
        Picture,
        FieldInstruction,
    };
    enum class VerticalPosition : quint8 { Normal, Super, Sub };

    struct CharState
    {
        int font = -1; // index in the font table; -1 for the default font
        int halfPoints = 24;
        bool bold = false;
        bool italic = false;
        bool underline = false;
        bool strike = false;
        bool hidden = false;
        VerticalPosition position = VerticalPosition::Normal;
        int foreground = 0; // index in the colour table; 0 is the automatic colour
        int background = 0;
        int link = 0; // index + 1 in m_links, 0 for none
        bool operator==(const CharState &) const = default;
    };
    struct ParaState
    {
        Qt::Alignment alignment = Qt::AlignLeft;
        int left = 0; // indents and spacing in twips
        int right = 0;
        int firstLine = 0;
        int before = 0;
        int after = 0;
        bool inTable = false;
    };
    struct GroupState
    {
        Destination destination = Destination::Text;
        CharState chars;
        ParaState para;
        int unicodeSkip = 1; // characters that stand for a "\u" character
    };
    struct Font
    {
        QString name;
        int charset = 0;
        RtfSymbolFonts::Font symbol = RtfSymbolFonts::Font::None;
    };
    struct Picture
    {
        enum class Kind : quint8 { Unknown, Png, Jpeg } kind = Kind::Unknown;
        QByteArray hex;
        QByteArray binary;
        int goalWidth = 0; // twips
        int goalHeight = 0;
        int scaleX = 100; // percent
        int scaleY = 100;
    };

    // rtfparser.cpp: the token loop, groups, destinations, text.
    void groupStart();
    void groupEnd();
    void text(QByteArrayView bytes);
    void byte(uchar value);
    void unicode(int code);
    void character(char16_t c);
    void appendText(const QString &text, bool symbolMapped);
    void flush();

    // rtfparserwords.cpp: control words.
    void word(QByteArrayView name, bool hasParameter, int parameter);
    void symbol(char c);
    void paragraphEnd();

    // rtfparserformats.cpp: tables, formats, pictures, fields.
    void fontTableText(QByteArrayView bytes);
    void colourTableText(QByteArrayView bytes);
    void finishPicture();
    void startFieldResult();
    QTextCharFormat charFormat(const CharState &state, bool symbolMapped);
    QTextBlockFormat blockFormat(const ParaState &state) const;
    const Font *font(int index) const;
    void place();

    RtfDocumentBuilder m_builder;
    std::vector<GroupState> m_stack;
    GroupState m_state;
    int m_skippedDepth = 0; // depth inside a group being skipped whole
    bool m_starred = false; // "\*" seen: the next word names an optional destination
    int m_pendingSkip = 0;  // characters still to drop after a "\u"

    QHash<int, Font> m_fonts;
    int m_defaultFont = 0;
    int m_fontBeingDefined = -1;
    QByteArray m_fontName;
    QList<QColor> m_colours;
    int m_red = -1, m_green = -1, m_blue = -1;

    Picture m_picture;
    QString m_fieldInstruction;
    QStringList m_links;

    // Text waiting to be inserted with one format.
    QString m_pending;
    CharState m_pendingChars;
    bool m_pendingSymbolMapped = false;
    ParaState m_pendingPara;

    // The table row being read: "\trowd" opens it, "\row" closes it.
    bool m_rowOpen = false;

    // Last character format built, reused while the properties stay the same.
    CharState m_cachedChars;
    bool m_cachedSymbolMapped = false;
    bool m_cacheValid = false;
    QTextCharFormat m_cachedFormat;
};
