#pragma once
// Colour reduction for bitmaps of 1, 4 and 8 bits per pixel. A picture with no more colours
// than the palette holds keeps them exactly; otherwise a median cut over a 5-5-5 histogram
// chooses the palette and every pixel takes the nearest entry. The result depends only on
// the pixels, so the same picture always gives the same file.
#include <QImage>

namespace px {

// Returns a Format_Indexed8 picture whose colour table has at most maxColors (1..256)
// entries; alpha is ignored. A null image gives a null image.
QImage ReduceToPalette(const QImage& image, int maxColors);

} // namespace px
