#pragma once
// The arithmetic of the thumbnail makers: checking the box size and placing the picture
// inside the box with its proportions kept. Both makers (JPEG and bitmap) use it.
#include <QRect>
#include <QString>

namespace px {

// "Ungültige Breite" for a box width of 0 or less (checked first, so it wins when both are
// bad), then "Ungültige Höhe" for a height of 0 or less; empty when the box is usable.
QString ThumbnailBoxError(int boxWidth, int boxHeight);

// Where a picture of the given size is drawn inside a box: the longer side of the picture
// fills its side of the box, the other side is scaled by the picture's ratio (rounded to the
// nearest integer, halves to even) and centred (the offset is the halved difference,
// truncated). When that would overflow the box (a box that is not square), the other side is
// fitted instead, so the picture always lies inside the box. A drawn side never shrinks below
// one pixel. An empty rectangle for a picture or box with a side of 0 or less.
QRect ThumbnailPictureRect(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight);

} // namespace px
