// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTextFormat>

// Properties the RTF reader leaves in a document's formats for the writer, so
// that saving keeps what the document cannot show or hold by itself.
namespace RtfProperties {

enum : int {
    // On an image's format (QByteArray): the RTF group it was read from (a
    // picture, or the object whose result it is), written back unchanged.
    RawGroup = QTextFormat::UserProperty + 0x5200,
    // On a block's format (int): the list override ("\ls") and level
    // ("\ilvl") of a list paragraph.
    ListOverride,
    ListLevel,
    // On a block's format (QByteArray): the old-style numbering group
    // ("{\*\pn ...}") of a list paragraph.
    ListPn,
    // On a block's format (int): how many characters at its start are the
    // list's number or bullet (shown as text) with the tab after it.
    ListTextLength,
    // On the root frame's format (QByteArrayList): groups of the document's
    // header kept as they were read (list tables, document information).
    HeaderGroups,
    // On the root frame's format (QStringList): the font table as read,
    // "index name" per entry, so that kept groups name the same fonts.
    FontTable,
};

} // namespace RtfProperties
