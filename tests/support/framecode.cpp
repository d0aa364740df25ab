// SPDX-License-Identifier: GPL-3.0-or-later
#include "framecode.h"

#include <QPainter>

namespace {

constexpr int kMargin = 8;

// The mean grey of a block's centre, away from the compression's ringing.
int centreGrey(const QImage &picture, int bit)
{
    const int x0 = kMargin + bit * FrameCode::kBlock + FrameCode::kBlock / 4;
    const int y0 = kMargin + FrameCode::kBlock / 4;
    int sum = 0;
    int count = 0;
    for (int y = y0; y < y0 + FrameCode::kBlock / 2; ++y) {
        for (int x = x0; x < x0 + FrameCode::kBlock / 2; ++x) {
            if (!picture.valid(x, y))
                return -1;
            sum += qGray(picture.pixel(x, y));
            ++count;
        }
    }
    return sum / count;
}

} // namespace

namespace FrameCode {

QImage picture(QSize size, int number)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(128, 128, 128));
    QPainter painter(&image);
    for (int bit = 0; bit < kBits; ++bit) {
        const bool one = (number >> bit) & 1;
        painter.fillRect(kMargin + bit * kBlock, kMargin, kBlock, kBlock,
                         one ? Qt::white : Qt::black);
    }
    return image;
}

int read(const QImage &picture)
{
    int number = 0;
    for (int bit = 0; bit < kBits; ++bit) {
        const int grey = centreGrey(picture, bit);
        if (grey > 192)
            number |= 1 << bit;
        else if (grey < 0 || grey > 64)
            return -1;
    }
    return number;
}

} // namespace FrameCode
