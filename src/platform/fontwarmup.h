// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The system's font configuration (fontconfig reads some sixty settings
// files) is loaded the first time any text is laid out, and it is the
// longest single step before a window's first frame. It needs no window
// system: loaded on a thread of its own from the start of the process, it
// runs while the application object connects to the display.
namespace FontWarmup {

// Starts loading the configuration. Call once, before the application
// object is created; does nothing where fonts are not found through
// fontconfig.
void start();

// Waits until the loading started by start() is over; returns at once if it
// was not started. Call before the first text is laid out: Qt would
// otherwise load the same configuration a second time alongside.
void wait();

} // namespace FontWarmup
