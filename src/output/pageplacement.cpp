// SPDX-License-Identifier: GPL-3.0-or-later
#include "pageplacement.h"

#include "platform/twips.h"

namespace PagePlacement {

QPointF topLeft(const QSizeF &printable, const QSize &picture, bool centreHorizontally,
                bool centreVertically)
{
    const QSizeF size = pictureTwips(picture);
    const double x
        = centreHorizontally ? (printable.width() - size.width()) / 2.0 : printable.width() / 10.0;
    const double y
        = centreVertically ? (printable.height() - size.height()) / 2.0 : printable.height() / 20.0;
    return QPointF(x, y);
}

QSizeF pictureTwips(const QSize &picture)
{
    return QSizeF(picture.width() * double(Twips::perPixel),
                  picture.height() * double(Twips::perPixel));
}

} // namespace PagePlacement
