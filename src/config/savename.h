// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The names the save and open dialogs take. Paths use "/" between folders; a
// name typed with "\" between folders is read the same way.

// The full path a configuration is saved under for the text of the name
// field, with folder the folder the dialog shows:
// - blanks around the text are removed;
// - the extension of the file name is dropped, again and again until its
//   name holds no "." ("essai.txt" -> "essai", "a.b.c" -> "a"); a "." in a
//   folder name stays ("tp.1/essai.txt" -> "tp.1/essai");
// - a name without a folder, or with a relative one, goes into folder;
// - ".P18" is appended.
// Gives an empty text when no file name is left (an empty or blank text,
// ".P18" alone, a text ending with a separator).
QString configurationSavePath(const QString &typed, const QString &folder);

// The text with every "\" made a "/".
QString withSlashes(const QString &path);

// What follows the last separator ("/" or "\") of the text.
QString bareName(const QString &path);

// folder joined to name with one "/" between them.
QString joinPath(const QString &folder, const QString &name);
