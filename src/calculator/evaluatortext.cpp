// SPDX-License-Identifier: GPL-3.0-or-later
// The rewriting of the expression's text: the canonical form, its spaces, the
// checks and counters that precede and follow each evaluation step.
#include "evaluator.h"
#include "expressiontext.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

namespace ExpressionText {

namespace {

struct FunctionName
{
    char16_t text[3];
    Function function;
};

// The three-letter names of the canonical form; "LON" is the natural
// logarithm, "ISI", "ICO", "ITA" the inverse sine, cosine and tangent.
constexpr FunctionName functionNames[] = {
    {{u'C', u'O', u'S'}, Function::Cos}, {{u'S', u'I', u'N'}, Function::Sin},
    {{u'T', u'A', u'N'}, Function::Tan}, {{u'I', u'C', u'O'}, Function::Ico},
    {{u'I', u'S', u'I'}, Function::Isi}, {{u'I', u'T', u'A'}, Function::Ita},
    {{u'L', u'O', u'G'}, Function::Log}, {{u'L', u'O', u'N'}, Function::Lon},
    {{u'E', u'X', u'P'}, Function::Exp}, {{u'S', u'Q', u'R'}, Function::Sqr},
};

bool isOperator(char16_t c)
{
    return c == u'+' || c == u'-' || c == u'*' || c == u'/' || c == u'^';
}

} // namespace

Function functionAt(const QString &x, qsizetype position)
{
    if (position < 0 || position + 3 > x.size())
        return Function::None;
    const QChar *c = x.constData() + position;
    for (const FunctionName &name : functionNames) {
        if (c[0] == name.text[0] && c[1] == name.text[1] && c[2] == name.text[2])
            return name.function;
    }
    return Function::None;
}

bool isTokenAt(const QString &x, qsizetype position)
{
    return position >= 0 && position + 3 <= x.size() && x[position] == u' '
        && isOperator(x[position + 1].unicode()) && x[position + 2] == u' ';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

QString trimSpaces(const QString &x)
{
    qsizetype begin = 0;
    qsizetype end = x.size();
    while (begin < end && x[begin] == u' ')
        ++begin;
    while (end > begin && x[end - 1] == u' ')
        --end;
    return x.mid(begin, end - begin);
}

} // namespace ExpressionText

using namespace ExpressionText;

namespace {

// One left-to-right pass of sign folding. At each position the four pairs are
// tested in this order, each on the text as already changed, so "---" becomes
// "-" in one pass.
QString foldSigns(const QString &x)
{
    QString out;
    out.reserve(x.size());
    const qsizetype n = x.size();
    qsizetype next = 0;
    while (next < n) {
        QChar c = x[next++];
        auto fold = [&](char16_t first, char16_t second, char16_t into) {
            if (c == first && next < n && x[next] == second) {
                c = into;
                ++next;
            }
        };
        fold(u'-', u'-', u'+');
        fold(u'+', u'-', u'-');
        fold(u'-', u'+', u'-');
        fold(u'+', u'+', u'+');
        out.append(c);
    }
    return out;
}

// Drops the parentheses around a plain number: digits and points, with a sign
// in the first place only. "(1E5)" and "()" are left alone.
QString dropNumberParentheses(const QString &x)
{
    QString out;
    out.reserve(x.size());
    const qsizetype n = x.size();
    qsizetype i = 0;
    while (i < n) {
        if (x[i] == u'(') {
            qsizetype j = i + 1;
            if (j < n && (x[j] == u'+' || x[j] == u'-'))
                ++j;
            while (j < n && (isDigit(x[j]) || x[j] == u'.'))
                ++j;
            if (j < n && x[j] == u')' && j > i + 1) {
                out.append(QStringView(x).mid(i + 1, j - i - 1));
                i = j + 1;
                continue;
            }
        }
        out.append(x[i++]);
    }
    return out;
}

} // namespace

void Evaluator::normalise(QString &x)
{
    x = x.toUpper();
    x.remove(u' ');
    // Every pass that changes the text shortens it, so the loop ends.
    for (;;) {
        QString next = foldSigns(x);
        if (next.startsWith(u'+'))
            next.remove(0, 1);
        next = dropNumberParentheses(next);
        if (next == x)
            break;
        x = std::move(next);
    }
    decoupe(x);
}

void Evaluator::decoupe(QString &x)
{
    QString text = x.toUpper();
    text.remove(u' ');
    if (text.startsWith(u'+'))
        text.remove(0, 1);
    text = u' ' + text + u' ';

    // The walk rewrites the text at the current position and after it, never
    // behind it: `done` holds the positions already walked and `rest` the text
    // from the current position on, reversed so that the current position is
    // its end. Each rewrite then costs the characters it changes rather than
    // the length of the text.
    std::u16string rest(text.utf16(), text.utf16() + text.size());
    std::reverse(rest.begin(), rest.end());
    QString done;
    done.reserve(text.size() * 3);

    auto at = [&](std::size_t k) { return k < rest.size() ? rest[rest.size() - 1 - k] : u'\0'; };
    auto here = [&](std::u16string_view name) {
        for (std::size_t k = 0; k < name.size(); ++k) {
            if (at(k) != name[k])
                return false;
        }
        return true;
    };
    auto spaceAfterName = [&] { rest.insert(rest.size() - 3, 1, u' '); };
    auto replaceHere = [&](std::size_t count, std::u16string_view by) {
        rest.resize(rest.size() - std::min(count, rest.size()));
        rest.append(by.rbegin(), by.rend());
    };
    auto advance = [&](std::size_t count) {
        for (; count > 0 && !rest.empty(); --count) {
            done.append(QChar(rest.back()));
            rest.pop_back();
        }
    };

    // Every character grows to at most three, so three times the length
    // reaches the end of the rewritten text.
    const qsizetype walk = 3 * text.size();
    while (done.size() < walk && !rest.empty()) {
        // The name rules keep the first letter, so it selects them all.
        const char16_t first = at(0);
        if (first == u'S' || first == u'L' || first == u'C' || first == u'T' || first == u'I'
            || first == u'E') {
            if (here(u"SQR"))
                spaceAfterName();
            if (here(u"LN"))
                replaceHere(2, u"LON ");
            if (here(u"LON") && at(3) != u' ')
                spaceAfterName();
            if (here(u"SIN") || here(u"COS"))
                spaceAfterName();
            if (here(u"LOG") || here(u"TAN"))
                spaceAfterName();
            if (here(u"ISI") || here(u"EXP"))
                spaceAfterName();
            if (here(u"ITA") || here(u"ICO"))
                spaceAfterName();
            if (here(u"INV")) {
                // INV and the next name become "I", the name's first two
                // letters and a space.
                std::u16string by(1, u'I');
                for (std::size_t k = 3; k < 5 && k < rest.size(); ++k)
                    by += at(k);
                by += u' ';
                replaceHere(6, by);
            }
        }

        const char16_t c = at(0);
        const char16_t before = done.isEmpty() ? u'\0' : done.back().unicode();
        const bool exponentSign = before == u'E' || before == u'D';
        const bool binary = c == u'^' || c == u'*' || c == u'/' || (c == u'+' && !exponentSign)
            || (c == u'-' && !exponentSign && before != u'(' && before != u' ');
        if (binary) {
            const char16_t token[] = {u' ', c, u' '};
            replaceHere(1, std::u16string_view(token, 3));
            advance(3);
        } else {
            advance(1);
        }
    }
    for (auto c = rest.rbegin(); c != rest.rend(); ++c)
        done.append(QChar(*c));
    x = std::move(done);
}

int Evaluator::verifie(const QString &x)
{
    qsizetype opening = 0;
    qsizetype closing = 0;
    int code = Success;
    for (qsizetype i = 0; i < x.size(); ++i) {
        const QChar c = x[i];
        if (c == u'(')
            ++opening;
        else if (c == u')')
            ++closing;
        else if ((c == u'*' || c == u'/' || c == u'^') && i + 2 < x.size() && x[i + 2] == u' ')
            code = OperatorError;
    }
    if (opening != closing)
        code = ParenthesesError;
    return code;
}

void Evaluator::compte(const QString &x)
{
    m_nbpar = m_nbfonc = m_nbop = 0;
    for (qsizetype i = 0; i < x.size(); ++i) {
        if (x[i] == u'(')
            ++m_nbpar;
        if (isTokenAt(x, i))
            ++m_nbop;
        if (functionAt(x, i) != Function::None)
            ++m_nbfonc;
    }
}
