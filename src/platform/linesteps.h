#pragma once

#include <QtGlobal>

#include <algorithm>
#include <utility>

// The steps first..last of a line of steps pixels that starts at pixel major0
// and moves by majorStep (+1 or -1) along an axis of limit pixels: those that
// fall inside the axis. Shared by the surface's picture and its
// high-density copy, which step through their lines the same way.
inline std::pair<qint64, qint64> visibleSteps(qint64 major0, qint64 majorStep, qint64 limit,
                                              qint64 steps)
{
    qint64 first = 0;
    qint64 last = steps - 1;
    if (majorStep > 0) {
        first = std::max<qint64>(first, -major0);
        last = std::min<qint64>(last, limit - 1 - major0);
    } else {
        first = std::max<qint64>(first, major0 - (limit - 1));
        last = std::min<qint64>(last, major0);
    }
    return {first, last};
}
