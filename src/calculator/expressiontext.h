// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Reading the evaluator's canonical text (see evaluator.h): the function names,
// the binary operator tokens and the blanks. The rewriting of the text and the
// evaluation both read it this way.
namespace ExpressionText {

enum class Function { None, Sqr, Exp, Lon, Log, Sin, Cos, Tan, Isi, Ico, Ita };

// The function whose three-letter canonical name starts at position; None when
// there is none or the name would run past the end.
Function functionAt(const QString &x, qsizetype position);

// A binary operator token at position: space, operator, space.
bool isTokenAt(const QString &x, qsizetype position);

bool isDigit(QChar c);

// Trims U+0020 only: the rewriting rules know no other blank.
QString trimSpaces(const QString &x);

} // namespace ExpressionText
