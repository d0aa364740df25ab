#include "palette.h"

#include <array>

namespace {

constexpr std::array<QRgb, 16> classicPalette = {
    qRgb(0, 0, 0),       qRgb(0, 0, 128),   qRgb(0, 128, 0),   qRgb(0, 128, 128),
    qRgb(128, 0, 0),     qRgb(128, 0, 128), qRgb(128, 128, 0), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(0, 0, 255),   qRgb(0, 255, 0),   qRgb(0, 255, 255),
    qRgb(255, 0, 0),     qRgb(255, 0, 255), qRgb(255, 255, 0), qRgb(255, 255, 255),
};

// System colours 0..24 (scroll bar, desktop, captions, menus, window, frame,
// borders, highlight, button face and shadow, grey text, 3-D edges, tool tips)
// in the classic standard scheme, so a file written on another machine still
// shows plausible colours.
constexpr std::array<QRgb, 25> systemColours = {
    qRgb(192, 192, 192), qRgb(0, 128, 128),   qRgb(0, 0, 128),     qRgb(128, 128, 128),
    qRgb(192, 192, 192), qRgb(255, 255, 255), qRgb(0, 0, 0),       qRgb(0, 0, 0),
    qRgb(0, 0, 0),       qRgb(255, 255, 255), qRgb(192, 192, 192), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(0, 0, 128),     qRgb(255, 255, 255), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(128, 128, 128), qRgb(0, 0, 0),       qRgb(192, 192, 192),
    qRgb(255, 255, 255), qRgb(0, 0, 0),       qRgb(192, 192, 192), qRgb(0, 0, 0),
    qRgb(255, 255, 225),
};

} // namespace

QColor QBColor(int index)
{
    if (index < 0 || index >= int(classicPalette.size()))
        return QColor(Qt::black);
    return QColor(classicPalette[std::size_t(index)]);
}

QColor colourFromStored(qint32 value)
{
    const quint32 bits = quint32(value);
    if (value < 0) {
        const quint32 index = bits & 0xFFFFFF;
        if (index >= systemColours.size())
            return QColor(Qt::black);
        return QColor(systemColours[index]);
    }
    return QColor(int(bits & 0xFF), int((bits >> 8) & 0xFF), int((bits >> 16) & 0xFF));
}

qint32 storedColour(const QColor &colour)
{
    const QRgb rgb = colour.rgb();
    return qint32(quint32(qRed(rgb)) | quint32(qGreen(rgb)) << 8 | quint32(qBlue(rgb)) << 16);
}
