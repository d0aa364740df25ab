// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "measures/measuredpoint.h"

#include <QObject>
#include <QString>

#include <functional>

// The main window's fields a fit starts from, as their texts: radius in cm,
// mass in g, fluid density in kg/m³, viscosity in Pa·s.
struct MeasureFieldTexts
{
    QString radius;
    QString mass;
    QString fluidDensity;
    QString viscosity;
};

// What "Appliquer" hands back to the main window, as field texts in the
// fields' units (three significant digits). sphereAndFluid is false when the
// animation cannot show the fitted sphere or fluid: only the viscosity is
// then to be applied.
struct AppliedFit
{
    QString viscosity;
    QString radius;
    QString mass;
    QString fluidDensity;
    bool sphereAndFluid = false;
};

// The measured fall of the session: created by the main window's
// composition, read by the graph window, the small graph and the measures
// dialog, for the whole run. It holds no widget; changed() tells the views.
class MeasurementHolder : public QObject
{
    Q_OBJECT

public:
    explicit MeasurementHolder(QObject *parent = nullptr)
        : QObject(parent)
    { }

    const MeasurementSet &set() const { return m_set; }
    bool isEmpty() const { return m_set.isEmpty(); }
    void setSet(MeasurementSet set);
    void clear() { setSet(MeasurementSet()); }
    // Leaves point index out (or takes it back) as the user's choice; a
    // point the reader marked as lost stays out. Returns whether it changed.
    bool setUserExcluded(int index, bool excluded);

    // Filled by the main window: its fields' texts, and how to put a fitted
    // result into them (through the fields' own validation).
    std::function<MeasureFieldTexts()> fieldTexts;
    std::function<void(const AppliedFit &)> apply;
    // Filled when the program can read videos: opens the video window, whose
    // tracked positions come back through setSet().
    std::function<void()> openVideo;

signals:
    void changed();

private:
    MeasurementSet m_set;
};
