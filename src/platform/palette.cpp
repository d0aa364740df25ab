// SPDX-License-Identifier: GPL-3.0-or-later
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

QColor colourFromStored(qint32 value, const QPalette &palette)
{
    if (value >= 0)
        return colourFromStored(value);
    struct Role
    {
        quint32 index;
        QPalette::ColorGroup group;
        QPalette::ColorRole role;
    };
    // Windows system colour indices and the palette roles that play their part.
    static constexpr Role roles[] = {
        {0, QPalette::Active, QPalette::Button},           // scroll bar
        {2, QPalette::Active, QPalette::Highlight},        // active caption
        {4, QPalette::Active, QPalette::Window},           // menu
        {5, QPalette::Active, QPalette::Base},             // window
        {6, QPalette::Active, QPalette::Shadow},           // window frame
        {7, QPalette::Active, QPalette::WindowText},       // menu text
        {8, QPalette::Active, QPalette::Text},             // window text
        {9, QPalette::Active, QPalette::HighlightedText},  // caption text
        {12, QPalette::Active, QPalette::Dark},            // application workspace
        {13, QPalette::Active, QPalette::Highlight},       // highlight
        {14, QPalette::Active, QPalette::HighlightedText}, // highlighted text
        {15, QPalette::Active, QPalette::Button},          // button face
        {16, QPalette::Active, QPalette::Dark},            // button shadow
        {17, QPalette::Disabled, QPalette::Text},          // grey text
        {18, QPalette::Active, QPalette::ButtonText},      // button text
        {20, QPalette::Active, QPalette::Light},           // button highlight
        {21, QPalette::Active, QPalette::Shadow},          // 3-D dark shadow
        {22, QPalette::Active, QPalette::Midlight},        // 3-D light
        {23, QPalette::Active, QPalette::ToolTipText},     // tool tip text
        {24, QPalette::Active, QPalette::ToolTipBase},     // tool tip background
        {26, QPalette::Active, QPalette::Link},            // hot-tracked item
    };
    const quint32 index = quint32(value) & 0xFFFFFF;
    for (const Role &r : roles) {
        if (r.index == index)
            return palette.color(r.group, r.role);
    }
    return colourFromStored(value);
}

qint32 storedColour(const QColor &colour)
{
    const QRgb rgb = colour.rgb();
    return qint32(quint32(qRed(rgb)) | quint32(qGreen(rgb)) << 8 | quint32(qBlue(rgb)) << 16);
}
