// SPDX-License-Identifier: GPL-3.0-or-later
// The evaluation: the cycles that apply functions, parentheses and operators
// to the canonical text, and the values they compute.
#include "evaluator.h"
#include "expressiontext.h"

#include "numberio.h"

#include <cmath>
#include <iterator>
#include <optional>
#include <utility>

using namespace ExpressionText;

namespace {

struct Counters
{
    int nbpar = 0;
    int nbfonc = 0;
    int nbop = 0;
    bool operator==(const Counters &) const = default;
};

constexpr char16_t operatorOrder[] = {u'^', u'/', u'*', u'-', u'+'};

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
