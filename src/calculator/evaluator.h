// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

// The calculator's expression evaluator. It works by rewriting the text of the
// expression: the text is first brought to a canonical spaced form, then the
// innermost computable piece (a function of a plain number, a parenthesised
// group holding no function, one binary operation) is replaced by the text of
// its value, until a single number remains. Every intermediate value is
// written back with NumberIo::write and read again with NumberIo::read.
//
// The canonical form: upper case, one space at the start and one at the end,
// each function name followed by one space, each binary operator written as
// space, operator, space, numbers and parentheses without spaces, and a unary
// minus or exponent sign attached to its number: " -2 * SIN (60 + 3E-2) ^ -1 ".
//
// Operators are applied in the fixed order ^ / * - +, the leftmost occurrence
// of each first, and functions before any operator: 2 ^ 3 ^ 2 is 64, -2 ^ 2 is
// 4 and sin 30 ^ 2 is the square of sin 30.
//
// The counters hold state during one evaluation only, so an Evaluator must not
// be entered again from its own blank-display query.
class Evaluator
{
public:
    // Values of codecalcul.
    enum Code {
        Success = 0,
        CalculImpossible = 1, // a run-time failure, too many cycles, a space left in the result
        ParenthesesError = 2, // the numbers of "(" and ")" differ
        OperatorError = 3,    // "*", "/" or "^" followed by another operator or by nothing
    };

    // Values of modeangle: how the trigonometric functions read and write angles.
    enum AngleMode { Degrees = 0, Radians = 1 };

    // Longest text the evaluator works on, canonical spaces included: positions
    // and lengths are bounded as 16-bit signed integers, and a text that would
    // grow longer ends the evaluation with CalculImpossible.
    static constexpr qsizetype MaxLength = 32767;
    // Most rewriting cycles one evaluation may take.
    static constexpr int MaxCycles = 100;

    // Answers whether the calculator's display field is blank after trimming.
    // The operator pass asks before each step and stops at once on a yes.
    using BlankQuery = std::function<bool()>;

    // An evaluator whose blank-display query always answers no unless one is given.
    explicit Evaluator(BlankQuery displayBlank = {});

    // Replaces the blank-display query; an empty one answers no.
    void setBlankQuery(BlankQuery displayBlank);

    // Evaluates expression in place and sets codecalcul (a Code). With Success the
    // expression holds the result trimmed of spaces (empty for an empty
    // expression); otherwise its content is of no use. modeangle is Radians (1)
    // or Degrees (any other value). Never throws, always ends.
    void evalue(QString &expression, int &codecalcul, int modeangle);

    // The text the calculator window shows for a code; empty for Success.
    static QString message(int codecalcul);

    // Canonical form of x: upper case, spaces removed, runs of signs folded
    // ("--" to "+", "+-" and "-+" to "-", "++" to "+"), a leading "+" dropped,
    // parentheses around a plain signed number without exponent dropped, until
    // nothing changes; then decoupe.
    static void normalise(QString &x);

    // Puts the canonical spaces into x (upper-cased, spaces removed): around the
    // text, after each function name, around each binary operator; a "+" or "-"
    // after "E" or "D" and a "-" after "(" or an operator stay attached. Turns
    // "LN" into "LON" and "INVSIN", "INVCOS", "INVTAN" into "ISI", "ICO", "ITA".
    static void decoupe(QString &x);

    // Checks a canonical text before evaluation: ParenthesesError when the
    // numbers of "(" and ")" differ, else OperatorError when a "*", "/" or "^"
    // has a space two characters further on, else Success.
    static int verifie(const QString &x);

    // Recounts nbpar, nbfonc and nbop in x.
    void compte(const QString &x);

    // The counters as compte left them: "(" characters, function names and
    // binary operator tokens (" + ", " - ", " * ", " / ", " ^ ").
    int nbpar() const { return m_nbpar; }
    int nbfonc() const { return m_nbfonc; }
    int nbop() const { return m_nbop; }

private:
    // The evaluation proper; returns the code.
    int run(QString &x, int modeangle);

    // Applies each function whose argument is a plain number, starting again
    // from the left after each one; decrements nbfonc. False on a failure.
    bool fonctions(QString &x, int modeangle);

    // Replaces the innermost parenthesised groups that hold no function by the
    // value of their content, then normalises; decrements nbpar. False on a
    // failure, including a "(" with no ")" after it.
    bool parentheses(QString &x);

    // Applies the binary operators of x in the order ^ / * - +, each from the
    // left; decrements nbop and stops when it reaches 0 or when the display is
    // blank. False on a failure.
    bool operations(QString &x);

    // Asks the blank-display query and remembers a yes in m_blankSeen.
    bool displayBlank();

    BlankQuery m_displayBlank;
    bool m_blankSeen = false;
    int m_nbpar = 0;
    int m_nbfonc = 0;
    int m_nbop = 0;
};
