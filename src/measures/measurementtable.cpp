// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurementtable.h"

#include <QStringList>

#include <array>

namespace {

struct UnitName
{
    const char16_t *text;
    MeasureUnit unit;
};

// Lower-case spellings that tools and people write in headers.
constexpr std::array unitNames {
    UnitName {u"s", MeasureUnit::Second},
    UnitName {u"sec", MeasureUnit::Second},
    UnitName {u"secs", MeasureUnit::Second},
    UnitName {u"second", MeasureUnit::Second},
    UnitName {u"seconds", MeasureUnit::Second},
    UnitName {u"seconde", MeasureUnit::Second},
    UnitName {u"secondes", MeasureUnit::Second},
    UnitName {u"ms", MeasureUnit::Millisecond},
    UnitName {u"msec", MeasureUnit::Millisecond},
    UnitName {u"milliseconds", MeasureUnit::Millisecond},
    UnitName {u"millisecondes", MeasureUnit::Millisecond},
    UnitName {u"m", MeasureUnit::Metre},
    UnitName {u"meter", MeasureUnit::Metre},
    UnitName {u"meters", MeasureUnit::Metre},
    UnitName {u"metre", MeasureUnit::Metre},
    UnitName {u"metres", MeasureUnit::Metre},
    UnitName {u"mètre", MeasureUnit::Metre},
    UnitName {u"mètres", MeasureUnit::Metre},
    UnitName {u"cm", MeasureUnit::Centimetre},
    UnitName {u"centimeters", MeasureUnit::Centimetre},
    UnitName {u"centimètres", MeasureUnit::Centimetre},
    UnitName {u"mm", MeasureUnit::Millimetre},
    UnitName {u"millimeters", MeasureUnit::Millimetre},
    UnitName {u"millimètres", MeasureUnit::Millimetre},
};

MeasureUnit knownUnit(QStringView text)
{
    const QString lower = text.trimmed().toString().toLower();
    for (const UnitName &u : unitNames) {
        if (lower == QStringView(u.text))
            return u.unit;
    }
    return MeasureUnit::Unknown;
}

// A unit between brackets: the known ones, and any short text with a slash,
// a power or a unit letter that says the column is something else (m/s, m.s-1, N).
MeasureUnit bracketedUnit(QStringView inner)
{
    const MeasureUnit unit = knownUnit(inner);
    if (unit != MeasureUnit::Unknown)
        return unit;
    const QStringView t = inner.trimmed();
    if (t.isEmpty() || t.size() > 12)
        return MeasureUnit::Unknown;
    if (t.contains(u'/') || t.contains(u'²') || t.contains(u'^') || t.contains(u'-') || t == u"N"
        || t == u"J" || t == u"kg" || t == u"g" || t == u"rad" || t == u"°")
        return MeasureUnit::Other;
    return MeasureUnit::Unknown;
}

bool closes(QChar open, QChar close)
{
    return (open == u'(' && close == u')') || (open == u'[' && close == u']');
}

// Splits a trailing unit off a name; returns the unit, leaves the name in name.
MeasureUnit splitUnit(QStringView text, QStringView &name)
{
    name = text.trimmed();
    if (name.size() >= 3) {
        const QChar close = name.back();
        const qsizetype open = name.lastIndexOf(close == u')' ? u'(' : u'[');
        if ((close == u')' || close == u']') && open > 0 && closes(name[open], close)) {
            const MeasureUnit unit = bracketedUnit(name.sliced(open + 1, name.size() - open - 2));
            if (unit != MeasureUnit::Unknown) {
                name = name.first(open).trimmed();
                return unit;
            }
        }
    }
    const qsizetype slash = name.lastIndexOf(u'/');
    if (slash > 0) {
        const MeasureUnit unit = knownUnit(name.sliced(slash + 1));
        if (unit != MeasureUnit::Unknown) {
            name = name.first(slash).trimmed();
            return unit;
        }
    }
    for (QStringView in : {QStringView(u" in "), QStringView(u" en ")}) {
        const qsizetype at = name.lastIndexOf(in, -1, Qt::CaseInsensitive);
        if (at > 0) {
            const MeasureUnit unit = knownUnit(name.sliced(at + in.size()));
            if (unit != MeasureUnit::Unknown) {
                name = name.first(at).trimmed();
                return unit;
            }
        }
    }
    return MeasureUnit::Unknown;
}

// "sigma_y", "sigma y", "σy", "Δy", "delta_y", "u(y)": the measured name, or empty.
QString uncertaintyTarget(QStringView name)
{
    auto rest = [](QStringView text) {
        while (!text.isEmpty() && (text.front() == u'_' || text.front() == u' '))
            text = text.sliced(1);
        return text.toString();
    };
    if (name.size() > 3 && name.startsWith(u"u(", Qt::CaseInsensitive) && name.back() == u')')
        return name.sliced(2, name.size() - 3).trimmed().toString();
    for (QStringView prefix : {QStringView(u"sigma"), QStringView(u"delta")}) {
        if (name.size() > prefix.size() && name.startsWith(prefix, Qt::CaseInsensitive)) {
            const QChar next = name[prefix.size()];
            if (next == u'_' || next == u' ')
                return rest(name.sliced(prefix.size()));
        }
    }
    if (name.size() > 1 && (name.front() == u'σ' || name.front() == u'Δ' || name.front() == u'δ'))
        return rest(name.sliced(1));
    return {};
}

} // namespace

double unitFactor(MeasureUnit unit)
{
    switch (unit) {
    case MeasureUnit::Millisecond:
    case MeasureUnit::Millimetre:
        return 1e-3;
    case MeasureUnit::Centimetre:
        return 1e-2;
    default:
        return 1.0;
    }
}

bool isTimeUnit(MeasureUnit unit)
{
    return unit == MeasureUnit::Second || unit == MeasureUnit::Millisecond;
}

bool isLengthUnit(MeasureUnit unit)
{
    return unit == MeasureUnit::Metre || unit == MeasureUnit::Centimetre
        || unit == MeasureUnit::Millimetre;
}

QString unitSymbol(MeasureUnit unit)
{
    switch (unit) {
    case MeasureUnit::Second:
        return QStringLiteral("s");
    case MeasureUnit::Millisecond:
        return QStringLiteral("ms");
    case MeasureUnit::Metre:
        return QStringLiteral("m");
    case MeasureUnit::Centimetre:
        return QStringLiteral("cm");
    case MeasureUnit::Millimetre:
        return QStringLiteral("mm");
    default:
        return {};
    }
}

ColumnHeading parseHeading(QStringView cell)
{
    ColumnHeading heading;
    QStringView name;
    heading.unit = splitUnit(cell, name);
    heading.name = name.toString();
    heading.uncertaintyOf = uncertaintyTarget(name);
    return heading;
}

MeasureUnit parseUnitCell(QStringView cell)
{
    QStringView t = cell.trimmed();
    if (t.size() >= 2 && closes(t.front(), t.back()))
        return bracketedUnit(t.sliced(1, t.size() - 2));
    const MeasureUnit unit = knownUnit(t);
    if (unit != MeasureUnit::Unknown)
        return unit;
    // "m/s" is the unit of another quantity; "t/s" is a name with its unit.
    const qsizetype slash = t.indexOf(u'/');
    return slash > 0 && knownUnit(t.first(slash)) != MeasureUnit::Unknown ? MeasureUnit::Other
                                                                          : MeasureUnit::Unknown;
}

QString TableLayout::description() const
{
    QStringList parts;
    switch (encoding) {
    case Encoding::Ascii:
    case Encoding::Utf8:
        parts << QStringLiteral("UTF-8");
        break;
    case Encoding::Utf8Bom:
        parts << QStringLiteral("UTF-8 avec BOM");
        break;
    case Encoding::Windows1252:
        parts << QStringLiteral("Windows-1252");
        break;
    }
    if (delimiter == u'\t')
        parts << QStringLiteral("séparateur tabulation");
    else if (delimiter == u' ')
        parts << QStringLiteral("séparateur espaces");
    else
        parts << QStringLiteral("séparateur « %1 »").arg(delimiter);
    parts << (decimalMark == u',' ? QStringLiteral("virgule décimale")
                                  : QStringLiteral("point décimal"));
    if (quoted)
        parts << QStringLiteral("champs entre guillemets");
    if (titleLines > 0)
        parts << QStringLiteral("%1 ligne(s) de titre").arg(titleLines);
    switch (header) {
    case Header::None:
        parts << QStringLiteral("sans en-tête");
        break;
    case Header::Names:
        parts << QStringLiteral("ligne des noms");
        break;
    case Header::NamesAndUnits:
        parts << QStringLiteral("ligne des noms puis ligne des unités");
        break;
    }
    return parts.join(QStringLiteral(", "));
}
