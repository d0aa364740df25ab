// SPDX-License-Identifier: GPL-3.0-or-later
#include "fontwarmup.h"

#include <QtGlobal>

#include <thread>

#ifdef Q_OS_LINUX
#include <dlfcn.h>
#endif

namespace {

std::thread &loader()
{
    static std::thread thread;
    return thread;
}

} // namespace

void FontWarmup::start()
{
#ifdef Q_OS_LINUX
    if (loader().joinable())
        return;
    // Qt Gui finds its fonts through fontconfig here and links it, so the
    // library is already loaded; the function is looked up rather than
    // linked so that a build of Qt without fontconfig still starts. FcInit
    // may run on any thread, and keeps the configuration for the process.
    using Init = int (*)();
    const auto init = reinterpret_cast<Init>(dlsym(RTLD_DEFAULT, "FcInit"));
    if (init)
        loader() = std::thread(init);
#endif
}

void FontWarmup::wait()
{
    if (loader().joinable())
        loader().join();
}
