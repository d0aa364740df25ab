// SPDX-License-Identifier: GPL-3.0-or-later
#include "validation.h"

#include "animationclock.h"
#include "motion.h"
#include "numberformat.h"
#include "parameterfields.h"

#include <cmath>

namespace {

constexpr char16_t enterKey = 13;
constexpr char16_t backspaceKey = 8;

// The mass and density fields validate each other; each call stops as soon as
// a conversion no longer changes the text, which happens within two or three
// levels. The bound only guards against two texts that would keep flipping.
constexpr int maxDepth = 8;

bool isDigit(char16_t key)
{
    return key >= u'0' && key <= u'9';
}

} // namespace

KeyFilter parameterKey(char16_t key)
{
    if (isDigit(key) || key == u',' || key == u'-' || key == backspaceKey)
        return {key, false};
    if (key == u'.')
        return {u',', false};
    if (key == enterKey)
        return {0, true};
    return {};
}

KeyFilter intervalKey(char16_t key)
{
    if (isDigit(key) || key == backspaceKey)
        return {key, false};
    if (key == enterKey)
        return {key, true};
    return {};
}

QString validatedInterval(const QString &text)
{
    return NumberFormat::generalDouble(ParameterFields::intervalMs(text));
}

ParameterValidator::Range ParameterValidator::range(int index)
{
    switch (index) {
    case ParameterFields::Radius:
        return {0.5, 50.0};
    case ParameterFields::Mass:
        return {1.0, 50000.0};
    case ParameterFields::Height:
        return {0.1, 2000.0};
    case ParameterFields::Viscosity:
        return {0.000001, 5.0};
    case ParameterFields::FluidDensity:
        return {0.1, 1500.0};
    default:
        return {0.1, 20000.0};
    }
}

ParameterValidator::ParameterValidator(ParameterFields &fields, AnimationClock &clock)
    : m_fields(fields)
    , m_clock(clock)
{ }

char16_t ParameterValidator::Text5_KeyPress(int index, char16_t key)
{
    const KeyFilter filtered = parameterKey(key);
    if (filtered.validate)
        Text5_LostFocus(index);
    return filtered.key;
}

void ParameterValidator::Text5_GotFocus(int)
{
    m_clock.Text5_GotFocus();
}

void ParameterValidator::Text5_LostFocus(int index)
{
    if (index < 0 || index >= ParameterFields::Count)
        return;
    // A focus change or Enter handled while this validation lets events
    // through must not start a second validation in the middle of the first:
    // it runs once the first has finished, with the same visible result.
    if (m_pumping) {
        if (!m_deferred.contains(index))
            m_deferred.append(index);
        return;
    }
    if (m_depth >= maxDepth)
        return;

    ++m_depth;
    validate(index);
    --m_depth;

    while (m_depth == 0 && !m_deferred.isEmpty())
        Text5_LostFocus(m_deferred.takeFirst());
}

void ParameterValidator::validate(int index)
{
    const Range limits = range(index);
    // Read as every computation reads the field: rounded to a single first,
    // so that the three digits kept are those of the single.
    double x = double(m_fields.value(index));
    if (x < limits.minimum)
        x = limits.minimum;
    if (x > limits.maximum)
        x = limits.maximum;
    m_fields.setText(index, NumberFormat::threeSignificant(x));

    if (m_pumpEvents) {
        m_pumping = true;
        m_pumpEvents();
        m_pumping = false;
    }

    m_clock.setTimerEnabled(false);
    couple(index);
    m_clock.command18_Click();
    if (index == ParameterFields::Height && m_erase)
        m_erase();
}

void ParameterValidator::couple(int index)
{
    const double volume = Motion::sphereVolume(m_fields);

    // A new mass keeps the radius and changes the density; any other change
    // (radius, density) keeps the density and changes the mass.
    const bool massChanged = index == ParameterFields::Mass;
    const int target = massChanged ? ParameterFields::SphereDensity : ParameterFields::Mass;
    const Range limits = range(target);

    double value = 0.0;
    const double derived = massChanged
        ? double(m_fields.value(ParameterFields::Mass)) / 1000.0 / volume
        : volume * double(m_fields.value(ParameterFields::SphereDensity)) * 1000.0;
    if (std::isfinite(derived))
        value = derived;
    if (value == 0.0)
        return;

    bool clamped = false;
    if (value < limits.minimum) {
        value = limits.minimum;
        clamped = true;
    }
    if (value > limits.maximum) {
        value = limits.maximum;
        clamped = true;
    }
    const QString old = m_fields.text(target);
    const QString updated = NumberFormat::threeSignificant(value);
    if (updated != old)
        m_fields.setText(target, updated);
    if (clamped)
        Text5_LostFocus(target);
    if (m_fields.text(target) != old)
        Text5_LostFocus(target);
}

char16_t ParameterValidator::chrono_KeyPress(char16_t key)
{
    const KeyFilter filtered = intervalKey(key);
    if (filtered.validate)
        chrono_LostFocus();
    return filtered.key;
}

void ParameterValidator::chrono_LostFocus()
{
    m_fields.setIntervalText(validatedInterval(m_fields.intervalText()));
}
