// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/configuration.h"

class PlatformServices;

// What a configuration is read into and saved from: the main window
// implements it over its controls, tests over plain values.
class ConfigurationTarget
{
public:
    virtual ~ConfigurationTarget() = default;

    // The current texts of Text5(0..4) and chrono, and the display options.
    virtual Configuration configuration() const = 0;

    // Text5(index) for index 0..4, as a typed text; no validation.
    virtual void setFieldText(int index, const QString &text) = 0;
    // chrono; no validation.
    virtual void setIntervalText(const QString &text) = 0;
    // Sets the panels' controls as a user's changes would, each running its
    // own handler (a scale moves its bar, the quantity redraws the graph...).
    virtual void setOptions(const DisplayOptions &options) = 0;
    // Text5_LostFocus(index): clamps, reduces and couples the field, then
    // resets the animation.
    virtual void validateField(int index) = 0;
    // Refreshes the scene.
    virtual void majaff() = 0;
    virtual void setWindowTitle(const QString &title) = 0;
};

// "Lorva avec frottement - " followed by the full path of the configuration.
QString configurationTitle(const QString &nomfichier);

// chargeconfig: reads the configuration file nomfichier (a full path) into
// target. The whole file is read and checked before anything is applied;
// then the five field texts, the interval and the display options are set,
// the mass and then the radius fields validated (re-deriving the sphere
// density and the motion), the scene refreshed and the window titled with the
// path. A refused file changes nothing and shows one error message through
// services: "Ce fichier ne correspond pas à cette application" when it is not
// a configuration, "Lecture impossible sur disque" when it is missing,
// unreadable, short or holds a value out of range. Never creates a file.
// Called by the open dialog and by the exercise window; returns whether the
// file was applied.
bool chargeconfig(const QString &nomfichier, ConfigurationTarget &target,
                  PlatformServices &services);

// Writes target's configuration to nomfichier atomically and titles the
// window with the path. A failure (a text over 126 bytes or with a character
// Windows-1252 cannot hold, a folder that cannot be written, a full disk)
// leaves any previous file as it was and shows "Ecriture impossible sur
// disque" once. Returns whether the file was written.
bool saveConfiguration(const QString &nomfichier, ConfigurationTarget &target,
                       PlatformServices &services);
