// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "openedvideo.h"

// The contract between the program and the decoding module, the shared
// library that holds the decoder and FFmpeg's libraries. The module exports
// one C function, kVideoModuleSymbol, of type VideoModuleEntryFunction; the
// program resolves it by name once the module is loaded and never unloads
// it (the videos it opened keep its code).
//
// The program and its module come from the same build: both use the same
// Qt libraries, so Qt types cross the boundary. kVideoModuleAbi changes with
// any change of this contract or of OpenedVideo, so that a module left from
// another version is refused rather than called.
inline constexpr int kVideoModuleAbi = 1;
inline constexpr char kVideoModuleSymbol[] = "lorva_video_module";
// The module's file, without its suffix (".so").
inline constexpr char kVideoModuleName[] = "lorva-video";

struct VideoModuleEntry
{
    int abi = 0;
    // Opens the video at path, reporting progress from the calling thread.
    // The caller owns the returned video; on failure returns null and puts
    // the French reason in *error.
    OpenedVideo *(*open)(const QString &path, const OpeningProgress &progress, QString *error)
        = nullptr;
};

extern "C" {
using VideoModuleEntryFunction = const VideoModuleEntry *(*)();
}
