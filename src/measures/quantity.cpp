// SPDX-License-Identifier: GPL-3.0-or-later
#include "quantity.h"

#include "core/numberscanner.h"

#include <array>

namespace {

struct Unit
{
    const char16_t *spelling; // after normalise(): ASCII, no blanks
    double factor;            // to SI
    QuantityKind kind;
};

// Every spelling is compared after normalise(), so "kg/m³", "kg·m⁻³" and
// "kg/m^3" all find theirs here.
constexpr std::array units {
    Unit {u"um", 1e-6, QuantityKind::Length},     Unit {u"mm", 1e-3, QuantityKind::Length},
    Unit {u"cm", 1e-2, QuantityKind::Length},     Unit {u"dm", 1e-1, QuantityKind::Length},
    Unit {u"m", 1.0, QuantityKind::Length},       Unit {u"mg", 1e-6, QuantityKind::Mass},
    Unit {u"g", 1e-3, QuantityKind::Mass},        Unit {u"kg", 1.0, QuantityKind::Mass},
    Unit {u"kg/m3", 1.0, QuantityKind::Density},  Unit {u"kg.m-3", 1.0, QuantityKind::Density},
    Unit {u"g/cm3", 1e3, QuantityKind::Density},  Unit {u"g.cm-3", 1e3, QuantityKind::Density},
    Unit {u"g/mL", 1e3, QuantityKind::Density},   Unit {u"g/ml", 1e3, QuantityKind::Density},
    Unit {u"g.mL-1", 1e3, QuantityKind::Density}, Unit {u"kg/L", 1e3, QuantityKind::Density},
    Unit {u"kg/l", 1e3, QuantityKind::Density},   Unit {u"kg.L-1", 1e3, QuantityKind::Density},
    Unit {u"kg/dm3", 1e3, QuantityKind::Density}, Unit {u"kg.dm-3", 1e3, QuantityKind::Density},
    Unit {u"g/L", 1.0, QuantityKind::Density},    Unit {u"g/l", 1.0, QuantityKind::Density},
    Unit {u"g.L-1", 1.0, QuantityKind::Density},  Unit {u"ms", 1e-3, QuantityKind::Time},
    Unit {u"s", 1.0, QuantityKind::Time},
};

// A unit as the table spells it: blanks dropped, superscripts and the
// middle dot made ASCII, the micro sign written "u".
QString normalise(QStringView unit)
{
    QString text;
    text.reserve(unit.size());
    for (QChar c : unit) {
        switch (c.unicode()) {
        case u' ':
        case u'\t':
        case u'\u00A0':
        case u'^':
            break;
        case u'³':
            text += u'3';
            break;
        case u'⁻':
            text += u'-';
            break;
        case u'·':
        case u'⋅':
        case u'*':
            text += u'.';
            break;
        case u'µ':
        case u'μ':
            text += u'u';
            break;
        default:
            text += c;
        }
    }
    return text;
}

const Unit *findUnit(QStringView unit)
{
    const QString spelled = normalise(unit);
    for (const Unit &u : units)
        if (spelled == QStringView(u.spelling))
            return &u;
    return nullptr;
}

// "une longueur", as the messages name what a value measures.
QString kindName(QuantityKind kind)
{
    switch (kind) {
    case QuantityKind::Length:
        return QStringLiteral("une longueur");
    case QuantityKind::Mass:
        return QStringLiteral("une masse");
    case QuantityKind::Density:
        return QStringLiteral("une masse volumique");
    case QuantityKind::Time:
        return QStringLiteral("une durée");
    case QuantityKind::Plain:
        break;
    }
    return {};
}

QString kindOfUnitName(QuantityKind kind)
{
    switch (kind) {
    case QuantityKind::Length:
        return QStringLiteral("de longueur");
    case QuantityKind::Mass:
        return QStringLiteral("de masse");
    case QuantityKind::Density:
        return QStringLiteral("de masse volumique");
    case QuantityKind::Time:
        return QStringLiteral("de durée");
    case QuantityKind::Plain:
        break;
    }
    return {};
}

// What the kind's values are written in, closing a message.
QString expected(QuantityKind kind)
{
    if (kind == QuantityKind::Plain)
        return QStringLiteral("cette valeur s'écrit sans unité.");
    return QStringLiteral("%1 s'écrit en %2.").arg(kindName(kind), QuantityText::unitList(kind));
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Where the number at the start of text ends: a sign, digits with points
// or commas, an exponent when digits follow its marker. What comes after is
// the unit.
qsizetype numberEnd(QStringView text)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    while (i < n && (isDigit(text[i]) || text[i] == u'.' || text[i] == u','))
        ++i;
    if (i > 0 && i < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype k = i + 1;
        if (k < n && (text[k] == u'+' || text[k] == u'-'))
            ++k;
        if (k < n && isDigit(text[k])) {
            while (k < n && isDigit(text[k]))
                ++k;
            i = k;
        }
    }
    return i;
}

// One side of "±": its number and its unit (empty when none is written).
struct Side
{
    double number = 0.0;
    QStringView unit;
};

std::optional<Side> readSide(QStringView text, QString *error)
{
    const qsizetype end = numberEnd(text);
    const QStringView number = text.first(end).trimmed();
    if (number.isEmpty() || number == u"+" || number == u"-") {
        *error = QStringLiteral("« %1 » ne commence pas par un nombre.").arg(text);
        return std::nullopt;
    }
    NumberScanner::Options options;
    options.decimalComma = true;
    options.wholeText = true;
    const NumberScanner::Result<double> read = NumberScanner::toDouble(number, options);
    if (read.status == NumberScanner::Status::NoNumber) {
        *error = QStringLiteral("« %1 » n'est pas un nombre (une seule virgule ou un seul point "
                                "décimal).")
                     .arg(number);
        return std::nullopt;
    }
    if (read.status != NumberScanner::Status::Ok) {
        *error = QStringLiteral("« %1 » est hors de la plage des nombres.").arg(number);
        return std::nullopt;
    }
    return Side {read.value, text.sliced(end).trimmed()};
}

// The factor of a written unit for kind, or the French reason it is wrong.
std::optional<double> factorOf(QStringView unit, QuantityKind kind, QString *error)
{
    const Unit *found = findUnit(unit);
    if (found && found->kind == kind)
        return found->factor;
    if (found)
        *error = QStringLiteral("« %1 » est une unité %2 ; %3")
                     .arg(unit, kindOfUnitName(found->kind), expected(kind));
    else if (kind == QuantityKind::Plain)
        *error = QStringLiteral("« %1 » : %2").arg(unit, expected(kind));
    else
        *error = QStringLiteral("L'unité « %1 » est inconnue ; %2").arg(unit, expected(kind));
    return std::nullopt;
}

// The "±" of text (also "+/-" and "+-"): its position and length, or
// {-1, 0}; a second one is counted in *count.
std::pair<qsizetype, qsizetype> findPlusMinus(QStringView text, int *count)
{
    std::pair<qsizetype, qsizetype> first {-1, 0};
    *count = 0;
    for (qsizetype i = 1; i < text.size(); ++i) {
        qsizetype length = 0;
        if (text[i] == u'±')
            length = 1;
        else if (text.sliced(i).startsWith(u"+/-"))
            length = 3;
        else if (text.sliced(i).startsWith(u"+-"))
            length = 2;
        if (length == 0)
            continue;
        if (++*count == 1)
            first = {i, length};
        i += length - 1;
    }
    return first;
}

} // namespace

namespace QuantityText {

bool takeRootThree(QStringView *text)
{
    QStringView t = text->trimmed();
    qsizetype root = -1;
    if (t.endsWith(u"√3"))
        root = t.size() - 2;
    else if (t.endsWith(u"rac3", Qt::CaseInsensitive))
        root = t.size() - 4;
    if (root < 0)
        return false;
    const QStringView before = t.first(root).trimmed();
    if (!before.endsWith(u'/'))
        return false;
    *text = before.chopped(1).trimmed();
    return true;
}

QString unitList(QuantityKind kind)
{
    switch (kind) {
    case QuantityKind::Length:
        return QStringLiteral("µm, mm, cm, dm ou m");
    case QuantityKind::Mass:
        return QStringLiteral("mg, g ou kg");
    case QuantityKind::Density:
        return QStringLiteral("kg/m3, g/cm3, g/mL, kg/L ou g/L");
    case QuantityKind::Time:
        return QStringLiteral("ms ou s");
    case QuantityKind::Plain:
        break;
    }
    return {};
}

std::optional<double> unitFactor(QStringView unit, QuantityKind kind)
{
    const Unit *found = findUnit(unit);
    if (found && found->kind == kind)
        return found->factor;
    return std::nullopt;
}

std::optional<TypedQuantity> parse(QStringView text, QuantityKind kind, QString *error,
                                   QStringView unitWhenUnsaid)
{
    QString why;
    auto fail = [&](const QString &message) {
        if (error)
            *error = message;
        return std::nullopt;
    };
    QStringView body = text.trimmed();
    if (body.isEmpty())
        return fail(QStringLiteral("Aucune valeur n'est écrite."));

    // "(1,26 ± 0,01) g/cm3": the unit after the parentheses is the unit of both.
    QStringView outerUnit;
    if (body.front() == u'(') {
        const qsizetype close = body.indexOf(u')');
        if (close < 0)
            return fail(QStringLiteral("La parenthèse ouverte n'est pas fermée."));
        outerUnit = body.sliced(close + 1).trimmed();
        body = body.sliced(1, close - 1).trimmed();
    }

    int count = 0;
    const auto [at, length] = findPlusMinus(body, &count);
    if (count > 1)
        return fail(QStringLiteral("Un seul « ± » par valeur."));
    const QStringView valueText = at < 0 ? body : body.first(at).trimmed();
    const std::optional<Side> value = readSide(valueText, &why);
    if (!value)
        return fail(why);
    std::optional<Side> spread;
    bool uniform = false;
    if (at >= 0) {
        QStringView rest = body.sliced(at + length).trimmed();
        uniform = QuantityText::takeRootThree(&rest);
        if (rest.isEmpty())
            return fail(QStringLiteral("L'incertitude manque après « ± »."));
        spread = readSide(rest, &why);
        if (!spread)
            return fail(why);
        if (spread->number < 0.0)
            return fail(QStringLiteral("L'incertitude « %1 » est négative : écrivez-la sans "
                                       "signe.")
                            .arg(rest));
    }
    if (!outerUnit.isEmpty() && (!value->unit.isEmpty() || (spread && !spread->unit.isEmpty())))
        return fail(QStringLiteral("Écrivez l'unité une seule fois, après la parenthèse."));

    // A unit written once serves both sides; without any, the default one.
    QStringView valueUnit = !outerUnit.isEmpty() ? outerUnit : value->unit;
    QStringView spreadUnit = spread && !outerUnit.isEmpty() ? outerUnit
        : spread                                            ? spread->unit
                                                            : QStringView();
    if (valueUnit.isEmpty())
        valueUnit = spreadUnit;
    if (spread && spreadUnit.isEmpty())
        spreadUnit = valueUnit;

    TypedQuantity quantity;
    quantity.unitTyped = !valueUnit.isEmpty();
    double valueFactor = 1.0;
    if (quantity.unitTyped) {
        const std::optional<double> f = factorOf(valueUnit, kind, &why);
        if (!f)
            return fail(why);
        valueFactor = *f;
    } else if (!unitWhenUnsaid.isEmpty()) {
        valueFactor = unitFactor(unitWhenUnsaid, kind).value_or(1.0);
    }
    quantity.value = value->number * valueFactor;
    if (spread) {
        double spreadFactor = valueFactor;
        if (!spreadUnit.isEmpty()) {
            const std::optional<double> f = factorOf(spreadUnit, kind, &why);
            if (!f)
                return fail(why);
            spreadFactor = *f;
        }
        quantity.uncertainty = spread->number * spreadFactor;
        if (uniform) {
            quantity.uncertainty /= std::sqrt(3.0);
            quantity.uniform = true;
        }
    }
    return quantity;
}

std::optional<TypedQuantity> parseUncertainty(QStringView text, QuantityKind kind,
                                              const QString &what, QString *error,
                                              QStringView unitWhenUnsaid)
{
    QStringView body = text.trimmed();
    if (body.startsWith(u'±'))
        body = body.sliced(1);
    else if (body.startsWith(u"+-"))
        body = body.sliced(2);
    body = body.trimmed();
    TypedQuantity u;
    u.value = 0.0;
    u.uncertainty = 0.0;
    if (body.isEmpty())
        return u;
    const bool uniform = QuantityText::takeRootThree(&body);
    QString why;
    const std::optional<TypedQuantity> q = parse(body, kind, &why, unitWhenUnsaid);
    if (!q) {
        if (error)
            *error = QStringLiteral("L'incertitude %1 ne se lit pas : %2").arg(what, why);
        return std::nullopt;
    }
    if (q->hasUncertainty()) {
        if (error)
            *error = QStringLiteral("Dans le champ « ± » %1, écrivez seulement "
                                    "l'incertitude-type.")
                         .arg(what);
        return std::nullopt;
    }
    if (!(q->value >= 0.0) || !std::isfinite(q->value)) {
        if (error)
            *error = QStringLiteral("L'incertitude %1 doit être un nombre positif.").arg(what);
        return std::nullopt;
    }
    u.uncertainty = uniform ? q->value / std::sqrt(3.0) : q->value;
    u.uniform = uniform;
    u.unitTyped = q->unitTyped;
    return u;
}

} // namespace QuantityText
