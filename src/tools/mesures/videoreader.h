// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "measurecommand.h"

// lorva-mesures --video: opens the video, sets the calibration from the
// request, tracks the ball from its click and gives the tracked positions.
std::optional<MeasurementSet> readVideo(const MeasureCommand::VideoRequest &request, QString *error,
                                        QTextStream &err);
