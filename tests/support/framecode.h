// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

// A picture that carries its frame number as a row of black and white blocks
// in its top-left corner on a grey ground, readable after lossy compression
// and only when the picture is upright.
namespace FrameCode {

constexpr int kBits = 10;
constexpr int kBlock = 16;

// An RGB32 picture of size (at least 8 + kBits × kBlock wide, 2 blocks high).
QImage picture(QSize size, int number);
// The number a picture carries; -1 when a block is neither black nor white.
int read(const QImage &picture);

} // namespace FrameCode
