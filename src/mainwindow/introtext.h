// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QTextEdit;

// Writes the introduction text into the text area: a centred blue title, then
// what the simulator does and how to start, with a few words in blue. The
// area is left read-only. Used at start-up and when an exercise is closed.
void writeIntroduction(QTextEdit *supertext);
