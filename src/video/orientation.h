// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

#include <cstdint>

// How the stored pictures of a video are shown upright: mirrored left to
// right first when mirrored is true, then turned clockwise by rotation
// degrees (0, 90, 180, 270). Every flip and quarter turn of a picture is one
// of these eight: an upside-down mirror (a vertical flip) is a mirror turned
// by 180°.
struct Orientation
{
    int rotation = 0;
    bool mirrored = false;

    bool operator==(const Orientation &) const = default;

    // The picture as it is shown. Exact: every pixel moves, none is blended.
    QImage upright(const QImage &stored) const;

    // The orientation a display matrix asks for, to the nearest quarter turn.
    // matrix is the one of a video track (MP4's tkhd, FFmpeg's display matrix
    // side data), row after row: (a b u; c d v; x y w), a to d in 16.16 fixed
    // point. A stored pixel (p, q), counted from the top left corner
    // rightwards and downwards, is shown at (a·p + c·q, b·p + d·q), up to a
    // shift; a negative determinant a·d − b·c is a mirror. The shift, the
    // scale and the perspective terms are ignored. A matrix that maps the
    // picture onto a line or a point (no orientation) gives the stored one.
    static Orientation fromDisplayMatrix(const int32_t matrix[9]);
};
