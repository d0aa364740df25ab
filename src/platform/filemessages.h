// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class PlatformServices;

// The questions and messages shared by the program's saves.
namespace FileMessages {

// "Le fichier « name » n'a pas pu être écrit.", then the detail on its own
// line when there is one. The name is shown with the system's separators.
QString notWritten(const QString &fileName, const QString &detail = QString());

// Asks "Ecraser le fichier existant?" (title "Ce fichier existe déjà!",
// warning icon, Yes and No) when path names an existing file, and returns
// whether the save may go on: true without a question when there is no such
// file. A folder is not a file to overwrite: no question, and the save then
// reports that it cannot write there.
bool confirmOverwrite(PlatformServices &services, const QString &path);

} // namespace FileMessages
