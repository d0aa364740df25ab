// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the calculator's expression evaluator.
//
// Each input byte becomes a piece of display text: most bytes pick one of the
// texts the calculator keys append, the others give a raw character, so that
// both well-formed key sequences and arbitrary text reach evalue(). Every
// input is evaluated in both angle modes; the target aborts when a code is out
// of range, when two evaluations of the same text disagree, or when an
// evaluation takes more than 10 ms of processor time on its best of three runs
// (processor time, so that other work on the machine does not count).

#include "calculator/evaluator.h"

#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

double threadMs()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The time budget of one evaluation. The short pass run by CI on a shared
// machine only reports the slowest input (LORVA_FUZZ_REPORT_ONLY set): a
// check of the time belongs to the long runs, not to the tests.
const double budgetMs = std::getenv("LORVA_FUZZ_REPORT_ONLY") ? 1e300 : 10.0;

// Expressions are cut at this length, far more than the calculator's display
// shows. The budget is measured under the sanitizers and the coverage
// instrumentation, which make the evaluator ten to a hundred times slower
// than a release build, so longer texts would test the instrumentation.
constexpr qsizetype maxCharacters = 200;

// What the calculator keys append to the expression, one row per family of
// keys (the formatter would pack them two by two).
// clang-format off
const char *const keyTexts[] = {
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", ".", "E",
    "E-12", "E-9", "E-6", "E-3", "E+3", "E+6", "E+9", "E+12",
    "(", "(", ")", ")",
    " + ", "+", " - ", "-", " -", " * ", " / ", " ^ ", " ^ 2",
    "sin ", "cos ", "tan ", "invSIN ", "invCOS ", "invTAN ", "exp ", "ln ", "log ", "SQR ",
    "10 ^ ", "1 / ", "3.14159265358979", "1E999", "1E200", "0",
};
// clang-format on
constexpr std::size_t keyCount = sizeof keyTexts / sizeof *keyTexts;

// Raw characters, among them the letters of the names, the exponent markers,
// lower case, blanks other than the space and characters that change length
// when upper-cased.
const char16_t rawCharacters[]
    = u" ()+-*/^.,EDedLNSIQRXCOTAGPVFYZ0123456789\t\u00df\u00e9\u0131\ufb03";
constexpr std::size_t rawCount = sizeof rawCharacters / sizeof *rawCharacters - 1;

QString expressionFrom(const std::uint8_t *data, std::size_t size)
{
    QString text;
    for (std::size_t i = 0; i < size && text.size() < maxCharacters; ++i) {
        const std::uint8_t byte = data[i];
        if (byte < 0xC0) {
            text += QLatin1String(keyTexts[byte % keyCount]);
        } else if (byte < 0xFF || i + 2 >= size) {
            text += QChar(rawCharacters[(byte - 0xC0) % rawCount]);
        } else {
            // Any UTF-16 unit, lone surrogates included.
            text += QChar(char16_t(data[i + 1] << 8 | data[i + 2]));
            i += 2;
        }
    }
    return text.left(maxCharacters);
}

struct Outcome
{
    QString text;
    int code = -1;
    double ms = 0.0;
};

Outcome evaluate(Evaluator &evaluator, const QString &expression, int modeangle)
{
    Outcome outcome;
    outcome.text = expression;
    const double start = threadMs();
    evaluator.evalue(outcome.text, outcome.code, modeangle);
    outcome.ms = threadMs() - start;
    return outcome;
}

double slowestMs = 0.0;
QString slowestExpression;

void reportSlowest()
{
    std::fprintf(stderr, "fuzz_evaluator: slowest evaluation %.3f ms (%lld characters): %s\n",
                 slowestMs, static_cast<long long>(slowestExpression.size()),
                 qPrintable(slowestExpression.left(200)));
}

[[noreturn]] void fail(const char *what, const QString &expression)
{
    std::fprintf(stderr, "fuzz_evaluator: %s for: %s\n", what, qPrintable(expression));
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    std::atexit(reportSlowest);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static Evaluator evaluator;
    const QString expression = expressionFrom(data, size);

    for (int modeangle : {int(Evaluator::Degrees), int(Evaluator::Radians)}) {
        Outcome first = evaluate(evaluator, expression, modeangle);
        if (first.code < Evaluator::Success || first.code > Evaluator::OperatorError)
            fail("result code out of range", expression);
        if (first.code == Evaluator::Success && first.text.contains(u' '))
            fail("space in a successful result", expression);

        // A second run must agree: nothing is kept between two evaluations.
        const Outcome second = evaluate(evaluator, expression, modeangle);
        if (second.code != first.code
            || (first.code == Evaluator::Success && second.text != first.text))
            fail("two evaluations disagree", expression);

        // Time on the best of the runs, so that a busy machine does not make
        // a false report.
        double ms = std::min(first.ms, second.ms);
        if (ms > budgetMs)
            ms = std::min(ms, evaluate(evaluator, expression, modeangle).ms);
        if (ms > slowestMs) {
            slowestMs = ms;
            slowestExpression = expression;
        }
        if (ms > budgetMs)
            fail("evaluation slower than 10 ms", expression);
    }
    return 0;
}
