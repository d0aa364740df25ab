// SPDX-License-Identifier: GPL-3.0-or-later
#include "evaluator.h"

#include "numberio.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace {

enum class Function { None, Sqr, Exp, Lon, Log, Sin, Cos, Tan, Isi, Ico, Ita };

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

struct Counters
{
    int nbpar = 0;
    int nbfonc = 0;
    int nbop = 0;
    bool operator==(const Counters &) const = default;
};

constexpr char16_t operatorOrder[] = {u'^', u'/', u'*', u'-', u'+'};

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

bool isOperator(char16_t c)
{
    return c == u'+' || c == u'-' || c == u'*' || c == u'/' || c == u'^';
}

// A binary operator token: space, operator, space.
bool isTokenAt(const QString &x, qsizetype position)
{
    return position >= 0 && position + 3 <= x.size() && x[position] == u' '
        && isOperator(x[position + 1].unicode()) && x[position + 2] == u' ';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Trims U+0020 only: the rewriting rules know no other blank.
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

// The number writer's text without its leading space, as it goes back into
// the expression.
QString valueText(double value)
{
    return trimSpaces(NumberIo::write(value));
}

double pi()
{
    return 4.0 * std::atan(1.0);
}

// Arcsine in radians as atan(x / sqrt(1 - x^2)), exact at the two ends;
// nothing beyond them.
std::optional<double> arcsine(double x)
{
    if (x == 1.0)
        return 2.0 * std::atan(1.0);
    if (x == -1.0)
        return -2.0 * std::atan(1.0);
    const double c = 1.0 - x * x;
    if (c <= 0.0)
        return std::nullopt;
    return std::atan(x / std::sqrt(c));
}

// Value of a function; nothing outside its domain or when the result is not a
// finite double.
std::optional<double> functionValue(Function function, double x, int modeangle)
{
    const bool degrees = modeangle != Evaluator::Radians;
    auto toRadians = [&](double angle) { return degrees ? angle * pi() / 180.0 : angle; };
    auto fromRadians = [&](double angle) { return degrees ? angle * 180.0 / pi() : angle; };

    double value = 0.0;
    switch (function) {
    case Function::None:
        return std::nullopt;
    case Function::Sqr:
        if (x < 0.0)
            return std::nullopt;
        value = std::sqrt(x);
        break;
    case Function::Exp:
        value = std::exp(x);
        break;
    case Function::Lon:
        if (x <= 0.0)
            return std::nullopt;
        value = std::log(x);
        break;
    case Function::Log:
        if (x <= 0.0)
            return std::nullopt;
        value = std::log(x) / std::log(10.0);
        break;
    case Function::Sin:
        value = std::sin(toRadians(x));
        break;
    case Function::Cos:
        value = std::cos(toRadians(x));
        break;
    case Function::Tan:
        value = std::tan(toRadians(x));
        break;
    case Function::Isi:
    case Function::Ico: {
        const std::optional<double> angle = arcsine(x);
        if (!angle)
            return std::nullopt;
        value = fromRadians(function == Function::Isi ? *angle : 2.0 * std::atan(1.0) - *angle);
        break;
    }
    case Function::Ita:
        value = fromRadians(std::atan(x));
        break;
    }
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

// Value of a binary operation; nothing for a division by zero, an invalid
// power or a result beyond the double range.
std::optional<double> operationValue(char16_t op, double left, double right)
{
    double value = 0.0;
    switch (op) {
    case u'^':
        value = std::pow(left, right);
        break;
    case u'/':
        if (right == 0.0)
            return std::nullopt;
        value = left / right;
        break;
    case u'*':
        value = left * right;
        break;
    case u'-':
        value = left - right;
        break;
    default:
        value = left + right;
        break;
    }
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

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

Evaluator::Evaluator(BlankQuery displayBlank)
    : m_displayBlank(std::move(displayBlank))
{ }

void Evaluator::setBlankQuery(BlankQuery displayBlank)
{
    m_displayBlank = std::move(displayBlank);
}

bool Evaluator::displayBlank()
{
    if (!m_displayBlank || !m_displayBlank())
        return false;
    m_blankSeen = true;
    return true;
}

QString Evaluator::message(int codecalcul)
{
    switch (codecalcul) {
    case CalculImpossible:
        return QStringLiteral("Calcul impossible");
    case ParenthesesError:
        return QStringLiteral("Erreur saisie: revoir les parenthèses");
    case OperatorError:
        return QStringLiteral("Erreur saisie: incompréhension sur opérateurs: ^ * / + -");
    default:
        return QString();
    }
}

void Evaluator::evalue(QString &expression, int &codecalcul, int modeangle)
{
    m_nbpar = m_nbfonc = m_nbop = 0;
    m_blankSeen = false;
    try {
        codecalcul = run(expression, modeangle);
    } catch (...) {
        // An allocation failure, or an exception escaping the blank-display
        // query, ends the evaluation like any other run-time failure.
        codecalcul = CalculImpossible;
    }
}

int Evaluator::run(QString &x, int modeangle)
{
    if (x.size() > MaxLength)
        return CalculImpossible;
    normalise(x);
    if (x.size() > MaxLength)
        return CalculImpossible;
    const int check = verifie(x);
    if (check != Success)
        return check;
    compte(x);

    QString previous;
    // A cycle depends only on the text, on whether it equals the remembered
    // one, on the counters and on the blank-display answers. When a cycle
    // starts exactly as the one before, which met no blank display, every
    // later cycle repeats it until the cap: the result is known at once.
    Counters stuckCounters;
    QString stuckText;
    bool stuckKnown = false;
    for (int cycle = 1;; ++cycle) {
        const bool unchanged = x == previous;
        const Counters counters {m_nbpar, m_nbfonc, m_nbop};
        if (unchanged && stuckKnown && !m_blankSeen && counters == stuckCounters && x == stuckText)
            return CalculImpossible;
        stuckKnown = unchanged;
        if (unchanged) {
            stuckCounters = counters;
            stuckText = x;
        }
        m_blankSeen = false;

        if (unchanged) {
            normalise(x);
            if (x.size() > MaxLength)
                return CalculImpossible;
        }
        previous = x;
        if (cycle > MaxCycles)
            return CalculImpossible;

        if (m_nbfonc > 0) {
            if (!fonctions(x, modeangle))
                return CalculImpossible;
            normalise(x);
            if (x.size() > MaxLength)
                return CalculImpossible;
        }
        if (m_nbpar > 0 && !parentheses(x))
            return CalculImpossible;
        compte(x);
        if (m_nbfonc > 0 || m_nbpar > 0)
            continue;

        if (m_nbop > 0 && !operations(x))
            return CalculImpossible;
        compte(x);
        if (m_nbop > 0)
            continue;

        x = trimSpaces(x);
        return x.contains(u' ') ? CalculImpossible : Success;
    }
}

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

bool Evaluator::fonctions(QString &x, int modeangle)
{
    // Position 0 always holds the leading space.
    qsizetype position = 1;
    while (position < x.size() && m_nbfonc > 0) {
        const Function function = functionAt(x, position);
        const qsizetype start = position + 4;
        if (function == Function::None || start >= x.size()
            || !(isDigit(x[start]) || x[start] == u'-' || x[start] == u'.')) {
            ++position;
            continue;
        }
        // A plain-number argument: up to the next ")" or space, which stays.
        qsizetype end = start;
        while (end < x.size() && x[end] != u')' && x[end] != u' ')
            ++end;
        const std::optional<double> argument
            = NumberIo::read(QStringView(x).mid(start, end - start));
        if (!argument)
            return false;
        const std::optional<double> value = functionValue(function, *argument, modeangle);
        if (!value)
            return false;
        x.replace(position, end - position, valueText(*value));
        if (x.size() > MaxLength)
            return false;
        --m_nbfonc;
        position = 1;
    }
    return true;
}

bool Evaluator::parentheses(QString &x)
{
    for (;;) {
        const qsizetype opening = x.lastIndexOf(u'(');
        if (opening < 0)
            return true;
        const qsizetype closing = x.indexOf(u')', opening + 1);
        if (closing < 0)
            return false;
        QString inner = x.mid(opening + 1, closing - opening - 1);
        // The capitals F to Y mean a function name is still inside; the next
        // cycle's function pass deals with it first. A to E include the
        // exponent markers.
        for (const QChar c : std::as_const(inner)) {
            if (c >= u'F' && c <= u'Y')
                return true;
        }
        normalise(inner);
        if (inner.size() > MaxLength || !operations(inner))
            return false;
        x.replace(opening, closing - opening + 1, inner);
        --m_nbpar;
        normalise(x);
        if (x.size() > MaxLength)
            return false;
        if (m_nbpar <= 0)
            return true;
    }
}

bool Evaluator::operations(QString &x)
{
    normalise(x);
    if (x.size() > MaxLength)
        return false;

    std::size_t current = 0;
    while (current < std::size(operatorOrder)) {
        const char16_t op = operatorOrder[current];
        bool found = false;
        qsizetype i = 2;
        while (i < x.size()) {
            if (displayBlank())
                return true;
            if (!isTokenAt(x, i) || x[i + 1] != op) {
                ++i;
                continue;
            }
            found = true;
            // The operands run from the nearest space on the left and up to
            // the next space on the right.
            const qsizetype left = i > 0 ? x.lastIndexOf(u' ', i - 1) + 1 : 0;
            qsizetype end = x.indexOf(u' ', i + 3);
            if (end < 0)
                end = x.size();
            const std::optional<double> a = NumberIo::read(QStringView(x).mid(left, i - left));
            const std::optional<double> b = NumberIo::read(QStringView(x).mid(i + 3, end - i - 3));
            if (!a || !b)
                return false;
            const std::optional<double> value = operationValue(op, *a, *b);
            if (!value)
                return false;
            x.replace(left, end - left, valueText(*value));
            if (x.size() > MaxLength)
                return false;
            if (--m_nbop <= 0)
                return true;
            // The scan goes on from the value just written, which may be the
            // left operand of the next occurrence. Going on after the old token
            // position would skip that occurrence whenever the value is shorter
            // than its operands, and 100 - 99 - 1 - 1000 - 5 would give 1005.
            i = left;
        }
        current = found ? 0 : current + 1;
    }
    return true;
}
