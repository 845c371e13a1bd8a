// Thumbnail box checks and picture placement.
#include "files/Thumbnails.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace px {

namespace {

// Nearest integer with halves to even, independent of the floating-point rounding mode.
// Values past the int range (an extreme ratio) are held at its end; the caller refits them.
int RoundHalfEven(double value)
{
    value = std::min(value, static_cast<double>(std::numeric_limits<int>::max()));
    const double lower = std::floor(value);
    const double fraction = value - lower;
    double result = lower;
    if (fraction > 0.5)
        result = lower + 1.0;
    else if (fraction == 0.5)
        result = std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
    return static_cast<int>(result);
}

} // namespace

QString ThumbnailBoxError(int boxWidth, int boxHeight)
{
    if (boxWidth <= 0)
        return QStringLiteral("Ungültige Breite");
    if (boxHeight <= 0)
        return QStringLiteral("Ungültige Höhe");
    return {};
}

QRect ThumbnailPictureRect(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight)
{
    if (pictureWidth <= 0 || pictureHeight <= 0 || boxWidth <= 0 || boxHeight <= 0)
        return {};

    const double ratio = static_cast<double>(pictureWidth) / pictureHeight;
    // A landscape picture is fitted to the box width first, any other to the box height;
    // when the scaled side then overflows the box, the other side is fitted instead, which
    // always fits.
    int drawnWidth = boxWidth;
    int drawnHeight = std::max(1, RoundHalfEven(boxWidth / ratio));
    if (ratio <= 1.0 || drawnHeight > boxHeight) {
        drawnHeight = boxHeight;
        drawnWidth = std::max(1, RoundHalfEven(ratio * boxHeight));
        if (drawnWidth > boxWidth) {
            drawnWidth = boxWidth;
            drawnHeight = std::max(1, RoundHalfEven(boxWidth / ratio));
        }
    }

    const int left = (boxWidth - drawnWidth) / 2;
    const int top = (boxHeight - drawnHeight) / 2;
    return QRect(left, top, drawnWidth, drawnHeight);
}

} // namespace px
