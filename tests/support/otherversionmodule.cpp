// SPDX-License-Identifier: GPL-3.0-or-later
// A decoding module from another version of the program: the entry point is
// there, with a contract number the program does not know.
#include "video/videomodule.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT const VideoModuleEntry *lorva_video_module()
{
    static const VideoModuleEntry entry {
        kVideoModuleAbi + 1,
        [](const QString &, const OpeningProgress &, QString *) -> OpenedVideo * {
            return nullptr;
        },
    };
    return &entry;
}
