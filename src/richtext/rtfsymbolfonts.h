// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Texts written on Windows put Greek letters, arrows and pictograms in the
// "Symbol" and "Wingdings" fonts as plain bytes: "t" in Symbol shows a tau,
// 0xAE an arrow, "6" in Wingdings an hourglass. These tables turn such bytes
// into the Unicode characters they show, so that the text reads the same with
// any font.
namespace RtfSymbolFonts {

enum class Font { None, Symbol, Wingdings };

// The symbol font a font name stands for ("Symbol", "Wingdings", ignoring case
// and a trailing version number such as "Wingdings 2" which is not covered).
Font fromName(const QString &family);

// The Unicode character that byte shows in that font, or 0 when the table has
// none. Bytes 0xF020..0xF0FF, as Word writes symbol characters in "\u", are
// looked up by their low byte.
char16_t toUnicode(Font font, char16_t code);

} // namespace RtfSymbolFonts
