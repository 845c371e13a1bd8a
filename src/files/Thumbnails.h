#pragma once
// The thumbnail makers: a picture drawn with its proportions kept into a box of a fixed size
// filled with a colour, written as a JPEG or a BMP file; and their arithmetic, checking the
// box size and placing the picture inside the box.
#include <QColor>
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

// Reads the JPEG file sourcePath and writes a JPEG file of the box size to targetPath (default
// encoder settings): the box filled with fillColour, the picture drawn smoothly stretched
// into ThumbnailPictureRect. Empty on success, else the error: the box errors of
// ThumbnailBoxError first, then an unreadable source or an unwritable target. The target is
// written atomically: on failure an existing file stays as it was.
QString MakeJpegThumbnail(const QString& sourcePath, const QString& targetPath, int boxWidth,
                          const QColor& fillColour, int boxHeight);

// As MakeJpegThumbnail, but the source is read by its extension (any picture file we read)
// and the target is BMP data (24 bits).
QString MakeBitmapThumbnail(const QString& sourcePath, const QString& targetPath, int boxWidth,
                            const QColor& fillColour, int boxHeight);

} // namespace px
