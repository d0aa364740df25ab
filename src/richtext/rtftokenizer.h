// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

#include <vector>

// One lexical element of an RTF text. The byte views point into the input,
// which must outlive the tokens.
struct RtfToken
{
    enum class Type : quint8 {
        GroupStart, // "{", which bytes views in the input
        GroupEnd,   // "}", which bytes views in the input
        Word,       // control word: name in bytes, optional parameter
        Symbol,     // control symbol such as "\~" or "\*": the character in parameter
        Text,       // a run of plain bytes
        HexByte,    // "\'hh": the byte in parameter
        Binary,     // the data following "\binN"
    };

    Type type = Type::Text;
    bool hasParameter = false;
    int parameter = 0;
    QByteArrayView bytes;
};

// Splits an RTF text into tokens and checks its structure before anything is
// built from it: the text must open with "{\rtf", its groups must close, a
// "\bin" block must lie inside the file, and groups may not nest deeper than
// maxDepth. Parameters beyond the 32-bit range are clamped to it. Everything
// after the group that closes the document is ignored.
class RtfTokenizer
{
public:
    static constexpr int maxDepth = 256;

    bool tokenize(QByteArrayView input, std::vector<RtfToken> *tokens);
    QString errorString() const { return m_error; }

private:
    bool fail(const QString &message);

    QString m_error;
};
