// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>

#include <functional>

class AnimationClock;
class ParameterFields;

// What a typed key becomes in a field: the key to insert (0 to discard it),
// and whether the field is validated at once (Enter).
struct KeyFilter
{
    char16_t key = 0;
    bool validate = false;
};

// Key filter of the six parameter fields: digits, comma, minus and Backspace
// pass; a point becomes a comma; Enter validates and is discarded.
KeyFilter parameterKey(char16_t key);

// Key filter of the chronophotography interval: digits and Backspace pass;
// Enter validates and is kept; everything else is discarded.
KeyFilter intervalKey(char16_t key);

// Validated text of the interval field (ms): the general form of the number
// the text starts with (0 when none), kept in 10..5000.
QString validatedInterval(const QString &text);

// Validation of the six parameter fields: clamping, three significant
// digits, the mass and sphere density kept consistent through the radius,
// and the reset of the animation after every change.
class ParameterValidator
{
public:
    struct Range
    {
        double minimum;
        double maximum;
    };
    static Range range(int index);

    ParameterValidator(ParameterFields &fields, AnimationClock &clock);

    // Runs the window's pending events once (the validation lets a queued
    // click or repaint through before it resets).
    void setPumpEvents(std::function<void()> pump) { m_pumpEvents = std::move(pump); }
    // Erases the chronophotographs ("Effacer"); run after a new height, since
    // the scale of the scene depends on it.
    void setEraseChronophotographs(std::function<void()> erase) { m_erase = std::move(erase); }

    // A key typed in field index; returns the key to insert, 0 to discard it.
    char16_t Text5_KeyPress(int index, char16_t key);
    void Text5_GotFocus(int index);
    // Validates field index, keeps mass and density consistent, resets.
    void Text5_LostFocus(int index);

    char16_t chrono_KeyPress(char16_t key);
    void chrono_LostFocus();

private:
    void validate(int index);
    // Re-derives the dependent field (density from a new mass, mass from any
    // other change) and validates it again when its text changed or was clamped.
    void couple(int index);

    ParameterFields &m_fields;
    AnimationClock &m_clock;
    std::function<void()> m_pumpEvents;
    std::function<void()> m_erase;
    int m_depth = 0;
    bool m_pumping = false;
    QList<int> m_deferred;
};
