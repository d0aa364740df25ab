// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtftokenizer.h"

#include <limits>

namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

bool RtfTokenizer::fail(const QString &message)
{
    m_error = message;
    return false;
}

bool RtfTokenizer::tokenize(QByteArrayView input, std::vector<RtfToken> *tokens)
{
    tokens->clear();
    m_error.clear();
    const char *const data = input.data();
    const qsizetype size = input.size();
    qsizetype pos = 0;

    while (pos < size
           && (data[pos] == ' ' || data[pos] == '\t' || data[pos] == '\r' || data[pos] == '\n'
               || data[pos] == '\0'))
        ++pos;
    if (!input.sliced(pos).startsWith("{\\rtf"))
        return fail(QStringLiteral("Ce fichier n'est pas un texte au format RTF."));

    // A rough guess that saves most reallocations: one token per 6 bytes.
    tokens->reserve(std::size_t(size / 6 + 16));
    int depth = 0;
    while (pos < size) {
        const char c = data[pos];
        if (c == '{') {
            if (++depth > maxDepth)
                return fail(QStringLiteral(
                    "Le texte RTF contient trop de groupes imbriqués pour être lu."));
            tokens->push_back({RtfToken::Type::GroupStart, false, 0, input.sliced(pos, 1)});
            ++pos;
        } else if (c == '}') {
            tokens->push_back({RtfToken::Type::GroupEnd, false, 0, input.sliced(pos, 1)});
            ++pos;
            if (--depth == 0)
                return true;
        } else if (c == '\r' || c == '\n' || c == '\0') {
            ++pos;
        } else if (c != '\\') {
            const qsizetype start = pos;
            while (pos < size && data[pos] != '{' && data[pos] != '}' && data[pos] != '\\'
                   && data[pos] != '\r' && data[pos] != '\n' && data[pos] != '\0')
                ++pos;
            tokens->push_back({RtfToken::Type::Text, false, 0, input.sliced(start, pos - start)});
        } else if (pos + 1 >= size) {
            break;
        } else if (isLetter(data[pos + 1])) {
            const qsizetype start = ++pos;
            while (pos < size && isLetter(data[pos]))
                ++pos;
            RtfToken word {RtfToken::Type::Word, false, 0, input.sliced(start, pos - start)};
            const bool negative = pos + 1 < size && data[pos] == '-' && isDigit(data[pos + 1]);
            if (negative)
                ++pos;
            if (pos < size && isDigit(data[pos])) {
                // Accumulated in 64 bits and clamped, however many digits follow.
                qint64 value = 0;
                while (pos < size && isDigit(data[pos])) {
                    if (value <= std::numeric_limits<int>::max())
                        value = value * 10 + (data[pos] - '0');
                    ++pos;
                }
                value = std::min<qint64>(value, std::numeric_limits<int>::max());
                word.hasParameter = true;
                word.parameter = int(negative ? -value : value);
            }
            if (pos < size && data[pos] == ' ')
                ++pos;
            if (word.bytes == "bin" && word.hasParameter) {
                const qint64 length = std::max(word.parameter, 0);
                if (length > size - pos)
                    return fail(
                        QStringLiteral("Le texte RTF est incomplet : le fichier est tronqué."));
                tokens->push_back({RtfToken::Type::Binary, false, 0, input.sliced(pos, length)});
                pos += length;
            } else {
                tokens->push_back(word);
            }
        } else if (data[pos + 1] == '\'') {
            const int high = pos + 2 < size ? hexValue(data[pos + 2]) : -1;
            const int low = pos + 3 < size ? hexValue(data[pos + 3]) : -1;
            if (high >= 0 && low >= 0) {
                tokens->push_back({RtfToken::Type::HexByte, true, high * 16 + low, {}});
                pos += 4;
            } else {
                pos += 2;
            }
        } else if (data[pos + 1] == '\r' || data[pos + 1] == '\n') {
            // A backslash before a line end stands for a paragraph mark.
            tokens->push_back({RtfToken::Type::Word, false, 0, QByteArrayView("par")});
            pos += 2;
        } else {
            tokens->push_back({RtfToken::Type::Symbol, true, int(uchar(data[pos + 1])), {}});
            pos += 2;
        }
    }
    return fail(QStringLiteral("Le texte RTF est incomplet : le fichier est tronqué."));
}
