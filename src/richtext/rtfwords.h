// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QtGlobal>

// The RTF control words the reader acts on, and what each one does.
namespace RtfWords {

enum class Action : quint8 {
    // Destinations.
    FontTable,
    ColourTable,
    Picture,
    FieldInstruction,
    FieldResult,
    Open,       // a destination whose text is shown: field, shppict, pntext, ...
    Skip,       // a destination whose content is not text: stylesheet, themedata, ...
    KeepHeader, // a header group kept for the writer: list tables, information
    ListText,   // the number or bullet of a list paragraph, shown as text
    Footnote,
    FootnoteMark,
    Object,
    Bookmark,
    // Document.
    AnsiCodePage,
    CodePage,
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
    Caps,
    SmallCaps,
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
    Page,
    PageBreakBefore,
    TabStop,
    ListOverride,
    ListLevel,
    Pn,
    // Tables.
    RowDefinition,
    CellBoundary,
    Cell,
    Row,
    // Pictures.
    Png,
    Jpeg,
    Wmf,
    OtherPicture,
    ObjectWidth,
    ObjectHeight,
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

// What the word of that name does, or nothing for a word the reader ignores.
const Entry *find(QByteArrayView name);

} // namespace RtfWords
