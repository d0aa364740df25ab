// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// The Windows-1252 code page, in which record files and RTF texts store their
// characters. It differs from Latin-1 only in 0x80..0x9F, where five bytes
// have no character: they read as the control character of the same code and
// are written back as the same byte, so that any text read can be written
// again unchanged.
namespace Windows1252 {

// The byte of a character, or -1 when the code page has none.
int byteOf(char16_t c);

// Unmapped characters become "?"; a character outside the basic plane is one
// "?", not two.
QByteArray encode(const QString &text);
// Whether every character of text has a byte, so that it is stored without "?".
bool fits(const QString &text);
QString decode(QByteArrayView bytes);

} // namespace Windows1252
