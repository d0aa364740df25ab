// SPDX-License-Identifier: GPL-3.0-or-later
#include "tablecells.h"

#include "core/numberscanner.h"

#include <QString>

#include <limits>

namespace TableCells {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// Reads a quoted cell starting at the opening quote at i; leaves i after the
// closing quote (or at the end of an unterminated one).
QStringView quotedCell(QStringView line, qsizetype &i)
{
    const qsizetype start = ++i;
    while (i < line.size()) {
        if (line[i] == u'"') {
            if (i + 1 < line.size() && line[i + 1] == u'"') {
                i += 2;
                continue;
            }
            break;
        }
        ++i;
    }
    const QStringView inner = line.sliced(start, i - start);
    if (i < line.size())
        ++i;
    return inner.trimmed();
}

// The spaces that separate thousands ("1 234,5"): no-break, narrow no-break,
// figure and thin spaces. An ordinary space never does: it separates cells.
bool isThousandsSpace(QChar c)
{
    const char16_t u = c.unicode();
    return u == 0x00A0 || u == 0x202F || u == 0x2007 || u == 0x2009;
}

} // namespace

void split(QStringView line, QChar delimiter, std::vector<Cell> &cells)
{
    cells.clear();
    const qsizetype n = line.size();
    qsizetype i = 0;
    if (delimiter == u' ') {
        for (;;) {
            while (i < n && isBlank(line[i]))
                ++i;
            if (i >= n)
                return;
            if (line[i] == u'"') {
                cells.push_back({quotedCell(line, i), true});
                while (i < n && !isBlank(line[i]))
                    ++i;
            } else {
                const qsizetype start = i;
                while (i < n && !isBlank(line[i]))
                    ++i;
                cells.push_back({line.sliced(start, i - start), false});
            }
        }
    }
    for (;;) {
        while (i < n && isBlank(line[i]) && line[i] != delimiter)
            ++i;
        if (i < n && line[i] == u'"') {
            const QStringView inner = quotedCell(line, i);
            // Anything between the closing quote and the delimiter is dropped.
            while (i < n && line[i] != delimiter)
                ++i;
            cells.push_back({inner, true});
        } else {
            const qsizetype start = i;
            while (i < n && line[i] != delimiter)
                ++i;
            cells.push_back({line.sliced(start, i - start).trimmed(), false});
        }
        if (i >= n)
            return;
        ++i; // past the delimiter
        if (i == n) {
            cells.push_back({QStringView(), false});
            return;
        }
    }
}

Kind read(QStringView text, bool decimalComma, double &value)
{
    if (text.isEmpty())
        return Kind::Empty;
    const QStringView unsigned_
        = text.front() == u'-' || text.front() == u'+' ? text.sliced(1) : text;
    if (unsigned_.compare(u"nan", Qt::CaseInsensitive) == 0) {
        value = std::numeric_limits<double>::quiet_NaN();
        return Kind::NotANumber;
    }
    const NumberScanner::Options options {
        .decimalComma = decimalComma, .exponentD = false, .wholeText = true};
    NumberScanner::Result<double> result;
    bool grouped = false;
    for (QChar c : text)
        grouped = grouped || isThousandsSpace(c);
    if (grouped) {
        QString digits;
        digits.reserve(text.size());
        for (QChar c : text) {
            if (!isThousandsSpace(c))
                digits.append(c);
        }
        result = NumberScanner::toDouble(digits, options);
    } else {
        result = NumberScanner::toDouble(text, options);
    }
    if (result.status != NumberScanner::Status::Ok
        && result.status != NumberScanner::Status::Underflow)
        return Kind::Text;
    value = result.value;
    return Kind::Number;
}

QString headerText(const Cell &cell)
{
    QString text = cell.text.toString();
    if (cell.quoted)
        text.replace(QStringLiteral("\"\""), QStringLiteral("\""));
    return text;
}

} // namespace TableCells
