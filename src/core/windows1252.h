// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The Windows-1252 code page of the program's stored files (records, RTF) and
// of the tables that older Windows tools write. The five bytes without a
// character read as the control characters of the same code and are written
// back as the same byte, so that any text read can be written again unchanged.
namespace Windows1252 {

// Unmapped characters become "?"; a character outside the basic plane is one "?".
QByteArray encode(const QString &text);
// Whether every character of text has a byte, so that it is stored without a "?".
bool fits(const QString &text);
QString decode(QByteArrayView bytes);

} // namespace Windows1252
