// SPDX-License-Identifier: GPL-3.0-or-later
#include "columnchoice.h"

#include <cmath>

namespace {

bool isTimeName(const QString &name)
{
    const QString lower = name.toLower();
    return lower == u"t" || lower.contains(u"time") || lower.contains(u"temps");
}

bool isUncertainty(const MeasurementTable &table, int column)
{
    return table.columns[std::size_t(column)].uncertaintyOf >= 0;
}

// A column that counts frames or rows instead of measuring a position: its
// name says so (trackers write "frame", "image", "n", "#", our own --tableau
// "image").
bool isFrameName(const QString &name)
{
    const QString lower = name.trimmed().toLower();
    static const char16_t *const counters[]
        = {u"n", u"i", u"#", u"n°", u"no", u"num", u"index", u"numéro", u"numero", u"img"};
    for (const char16_t *counter : counters)
        if (lower == QStringView(counter))
            return true;
    return lower.contains(u"frame") || lower.contains(u"image");
}

// Integers that step by exactly one from row to row (at least three of
// them): a frame or row number, unless nothing else could be the position.
bool stepsByOne(const MeasurementColumn &column)
{
    const std::vector<double> &v = column.values;
    if (v.size() < 3)
        return false;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (!std::isfinite(v[i]) || v[i] != std::floor(v[i]))
            return false;
        if (i > 0 && v[i] - v[i - 1] != 1.0)
            return false;
    }
    return true;
}

int findTimeColumn(const MeasurementTable &table)
{
    for (int c = 0; c < table.columnCount(); ++c) {
        if (isTimeUnit(table.columns[std::size_t(c)].unit))
            return c;
    }
    for (int c = 0; c < table.columnCount(); ++c) {
        if (!isUncertainty(table, c) && isTimeName(table.columns[std::size_t(c)].name))
            return c;
    }
    return 0;
}

// The positions to leave out because the tracker lost the ball: a missing
// value, and a run of exact zeros once the ball has been seen away from zero.
// A single zero is kept where the ball can pass through it: between values of
// opposite signs, or as the last value (an axis whose origin is the bottom).
std::vector<bool> lostBall(const std::vector<double> &y)
{
    const std::size_t n = y.size();
    std::vector<bool> lost(n, false);
    bool seenValue = false;
    double before = 0.0; // the last non-zero value
    for (std::size_t i = 0; i < n;) {
        if (std::isnan(y[i])) {
            lost[i++] = true;
            continue;
        }
        if (y[i] != 0.0) {
            seenValue = true;
            before = y[i++];
            continue;
        }
        std::size_t end = i;
        while (end < n && y[end] == 0.0)
            ++end;
        if (seenValue) {
            const bool single = end - i == 1;
            const bool last = end == n;
            const bool crossing = end < n && !std::isnan(y[end]) && (y[end] > 0) != (before > 0);
            if (!(single && (last || crossing))) {
                for (std::size_t k = i; k < end; ++k)
                    lost[k] = true;
            }
        }
        i = end;
    }
    return lost;
}

// How far the values of a column move, the lost ones left out.
double range(const MeasurementColumn &column)
{
    const std::vector<bool> lost = lostBall(column.values);
    double low = INFINITY;
    double high = -INFINITY;
    for (std::size_t i = 0; i < column.values.size(); ++i) {
        if (!lost[i]) {
            low = std::min(low, column.values[i]);
            high = std::max(high, column.values[i]);
        }
    }
    return high >= low ? high - low : 0.0;
}

} // namespace

bool growsUpwards(const MeasurementTable &table, int column)
{
    if (column < 0 || column >= table.columnCount())
        return false;
    const std::vector<double> &values = table.columns[std::size_t(column)].values;
    const std::vector<bool> lost = lostBall(values);
    double first = NAN;
    double last = NAN;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (lost[i])
            continue;
        if (std::isnan(first))
            first = values[i];
        last = values[i];
    }
    return last < first;
}

ColumnChoice withPosition(const MeasurementTable &table, ColumnChoice choice, int column,
                          MeasureUnit lengthWhenUnsaid)
{
    choice.position = column;
    choice.uncertainty = -1;
    choice.lengthUnit = lengthWhenUnsaid;
    choice.flip = false;
    if (column < 0 || column >= table.columnCount())
        return choice;
    const MeasureUnit unit = table.columns[std::size_t(column)].unit;
    if (isLengthUnit(unit))
        choice.lengthUnit = unit;
    for (int c = 0; c < table.columnCount(); ++c) {
        if (table.columns[std::size_t(c)].uncertaintyOf == column) {
            choice.uncertainty = c;
            break;
        }
    }
    choice.flip = growsUpwards(table, column);
    return choice;
}

ColumnChoice defaultChoice(const MeasurementTable &table, MeasureUnit lengthWhenUnsaid)
{
    ColumnChoice choice;
    if (table.columnCount() == 0)
        return choice;
    choice.time = findTimeColumn(table);
    const MeasureUnit timeUnit = table.columns[std::size_t(choice.time)].unit;
    choice.timeUnit = isTimeUnit(timeUnit) ? timeUnit : MeasureUnit::Second;

    // A frame index moves by a hundred "metres" over a video: it is never
    // the position. A column of integers stepping by one without a length
    // unit is taken only when no other column is left (marks 1, 2, 3… on
    // a tube).
    int best = -1;
    int bestCounting = -1;
    double bestRange = -1.0;
    double bestCountingRange = -1.0;
    for (int c = 0; c < table.columnCount(); ++c) {
        const MeasurementColumn &column = table.columns[std::size_t(c)];
        if (c == choice.time || isUncertainty(table, c) || isTimeUnit(column.unit)
            || column.unit == MeasureUnit::Other || isFrameName(column.name))
            continue;
        const bool lengthSaid = isLengthUnit(column.unit);
        const MeasureUnit unit = lengthSaid ? column.unit : lengthWhenUnsaid;
        const double moved = range(column) * unitFactor(unit);
        const bool counting = !lengthSaid && stepsByOne(column);
        int &bestOfKind = counting ? bestCounting : best;
        double &rangeOfKind = counting ? bestCountingRange : bestRange;
        if (moved > rangeOfKind) {
            bestOfKind = c;
            rangeOfKind = moved;
        }
    }
    return withPosition(table, choice, best >= 0 ? best : bestCounting, lengthWhenUnsaid);
}

std::optional<MeasurementSet> toMeasurementSet(const MeasurementTable &table,
                                               const ColumnChoice &choice, QString *error)
{
    auto fail = [error](const QString &message) {
        if (error)
            *error = message;
        return std::nullopt;
    };
    const int columns = table.columnCount();
    if (choice.time < 0 || choice.time >= columns || choice.position < 0
        || choice.position >= columns || choice.time == choice.position
        || choice.uncertainty >= columns)
        return fail(QStringLiteral("Choisissez deux colonnes différentes pour le temps et la "
                                   "position."));

    const std::vector<double> &times = table.columns[std::size_t(choice.time)].values;
    const std::vector<double> &positions = table.columns[std::size_t(choice.position)].values;
    const std::vector<bool> lost = lostBall(positions);
    const double timeFactor = unitFactor(choice.timeUnit);
    const double sign = choice.flip ? -1.0 : 1.0;
    const double lengthFactor = unitFactor(choice.lengthUnit);
    double sigmaFactor = lengthFactor;
    const std::vector<double> *sigmas = nullptr;
    if (choice.uncertainty >= 0) {
        const MeasurementColumn &column = table.columns[std::size_t(choice.uncertainty)];
        sigmas = &column.values;
        if (isLengthUnit(column.unit))
            sigmaFactor = unitFactor(column.unit);
    }

    MeasurementSet set;
    set.points.reserve(times.size());
    int previous = -1; // row of the previous point
    bool allEqual = true;
    std::size_t late = 0; // the first row whose time is not after the one before (0: none)
    std::size_t early = 0;
    for (std::size_t r = 0; r < times.size(); ++r) {
        if (!std::isfinite(times[r]))
            continue;
        if (previous >= 0) {
            const double before = times[std::size_t(previous)];
            allEqual = allEqual && times[r] == before;
            if (times[r] <= before && late == 0) {
                late = r;
                early = std::size_t(previous);
            }
        }
        MeasuredPoint point;
        point.t = times[r] * timeFactor;
        point.y = sign * positions[r] * lengthFactor;
        if (sigmas)
            point.sigma = std::abs((*sigmas)[r]) * sigmaFactor;
        point.source = table.lines[r];
        if (lost[r])
            point.exclusion = MeasuredPoint::Exclusion::LostBall;
        set.points.push_back(point);
        previous = int(r);
    }
    if (set.points.size() >= 2 && allEqual)
        return fail(QStringLiteral("Tous les temps sont égaux (lignes %1 à %2) : choisissez "
                                   "la colonne des temps.")
                        .arg(set.points.front().source)
                        .arg(set.points.back().source));
    if (late > 0)
        return fail(QStringLiteral("Les temps doivent croître : ligne %1, le temps n'est pas "
                                   "après celui de la ligne %2.")
                        .arg(table.lines[late])
                        .arg(table.lines[early]));
    const int usable = set.includedCount();
    if (usable < 3)
        return fail(QStringLiteral("Il faut au moins 3 points utilisables ; le tableau n'en a "
                                   "que %1 (lu jusqu'à la ligne %2).")
                        .arg(usable)
                        .arg(table.lastLine));
    return set;
}
