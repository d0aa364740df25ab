// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rtfdocumentbuilder.h"
#include "rtfsymbolfonts.h"
#include "rtftokenizer.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QStringList>

#include <memory>

#include <vector>

// Walks the tokens of a checked RTF text and builds the document: keeps the
// stack of group states (character and paragraph properties, destination),
// reads the font and colour tables, decodes text by its font's code page
// ("\fcharset", or "\cpg"; the document's "\ansicpg" for a font without
// one), collects pictures, field results and footnotes (shown after the
// text). It cannot fail: what it does not know it skips, and every number it
// uses is clamped. What the document cannot hold by itself (pictures' and
// objects' RTF, list tables, the font table) is left in format properties
// for the writer (see rtfproperties.h).
class RtfParser
{
public:
    explicit RtfParser(QTextDocument *document);

    ~RtfParser();
    void parse(const std::vector<RtfToken> &tokens);

private:
    enum class Destination : quint8 {
        Text,
        Bookmark,
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
        QFont::Capitalization caps = QFont::MixedCase;
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
        bool pageBreakBefore = false;
        int listOverride = 0; // "\ls": 0 outside a list
        int listLevel = 0;
        QByteArray pn;          // an old-style numbering group
        QList<int> tabs;        // tab stops in twips
        int listTextLength = 0; // characters of the number or bullet, set at the paragraph's end
    };
    struct GroupState
    {
        Destination destination = Destination::Text;
        CharState chars;
        ParaState para;
        int unicodeSkip = 1;   // characters that stand for a "\u" character
        QByteArrayView group;  // this group's bytes, braces included
        bool fresh = true;     // nothing but "\\*" read in the group yet
        int container = 0;     // index + 1 in m_containers of the object being read
        bool listText = false; // inside the number or bullet of a list paragraph
    };
    struct Font
    {
        QString name;
        int charset = -1; // none given
        int codePage = 0;
        RtfSymbolFonts::Font symbol = RtfSymbolFonts::Font::None;
        QStringDecoder *decoder = nullptr; // null for Windows-1252
    };
    // An object read with its result: its bytes go with the first picture of
    // the result, or with a placeholder when it has none.
    struct Container
    {
        QByteArrayView group;
        int goalWidth = 0; // twips
        int goalHeight = 0;
        bool attached = false;
    };
    struct Picture
    {
        enum class Kind : quint8 { None, Unknown, Png, Jpeg, Wmf } kind = Kind::None;
        QByteArrayView group;
        QByteArray hex;
        QByteArray binary;
        int goalWidth = 0; // twips
        int goalHeight = 0;
        int scaleX = 100; // percent
        int scaleY = 100;
    };

    // rtfparser.cpp: the token loop, groups, destinations, text.
    // Whether a word, symbol, hex byte or binary token is one of the fallback
    // characters still to drop after a "\u"; it is then counted off. Text
    // counts off its own characters.
    bool skipsFallback();
    void groupStart(QByteArrayView group);
    void groupEnd();
    void text(QByteArrayView bytes);
    void byte(uchar value);
    void unicode(int code);
    void character(char16_t c);
    void appendText(const QString &text, bool symbolMapped);
    void flush();
    void decodeBytes();

    // rtfparserwords.cpp: control words.
    void word(QByteArrayView name, bool hasParameter, int parameter);
    // The bytes of the current group when the word being read opens it, as a
    // destination kept whole must; empty otherwise.
    QByteArrayView wholeGroup() const;
    void symbol(char c);
    void paragraphEnd();
    ParaState closingParagraph();
    void startFootnote();
    void endFootnote();

    // rtfparserformats.cpp: tables, formats, pictures, fields.
    void fontTableText(QByteArrayView bytes);
    void colourTableText(QByteArrayView bytes);
    void finishPicture();
    void finishContainer(const Container &container);
    void insertPlaceholder(QByteArrayView raw, int goalWidth, int goalHeight);
    void startFieldResult();
    void finishDocument();
    QStringDecoder *decoder(int codePage);
    QTextCharFormat charFormat(const CharState &state, bool symbolMapped);
    QTextBlockFormat blockFormat(const ParaState &state) const;
    const Font *font(int index) const;
    // Lengths of RTF (twips) and of the document (pixels).
    static double pixelsOf(int twips);
    static int twipsOf(double pixels);
    void place();

    QTextDocument *m_document;
    RtfDocumentBuilder m_main;
    RtfDocumentBuilder *m_builder = &m_main; // the text's, or the footnotes'
    std::unique_ptr<QTextDocument> m_notes;
    std::unique_ptr<RtfDocumentBuilder> m_notesBuilder;
    int m_footnoteDepth = 0; // groups open in the footnote being read
    ParaState m_stateOutsideNotes;
    bool m_rowOpenOutsideNotes = false;
    int m_footnotes = 0;      // footnote marks met in the text
    bool m_breakNext = false; // a page break before the next paragraph

    // Bytes of the text waiting to be decoded in one piece, since a
    // character of a multi-byte code page may span two "\'hh".
    QByteArray m_bytes;

    // Decoders of the code pages met, by number; null for Windows-1252 and
    // for those the platform cannot decode.
    QHash<int, QStringDecoder *> m_decoders;
    std::vector<std::unique_ptr<QStringDecoder>> m_decoderStore;
    int m_ansiCodePage = 1252;
    QByteArrayList m_headerGroups;
    std::vector<Container> m_containers;
    int m_listTextLength = 0;
    qint64 m_metafilePixels = 0; // drawn so far
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
    QString m_bookmark;        // name of the bookmark being read
    QStringList m_anchorNames; // bookmarks that start at the next text
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
