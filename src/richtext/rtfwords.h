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

// What the word of that name does, or nothing for a word the reader ignores.
const Entry *find(QByteArrayView name);

} // namespace RtfWords
