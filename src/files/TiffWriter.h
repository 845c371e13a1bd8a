#pragma once
// The program's own TIFF writer. Its byte layout is fixed, so that files match those of
// earlier versions byte for byte: little-endian, one image file directory, one uncompressed
// strip, the software text "Tarvel sys" and a resolution of 877/10 dots per inch. The layout
// follows the picture's declared pixel format: bilevel for 1 bit, a colour map for 4 and
// 8 bits, RGB for everything else.
#include <QIODevice>
#include <QImage>
#include <QString>

namespace px {

// Writes image as a TIFF file to device. bitsPerPixel is the picture's declared pixel format:
// 0 (device, 32 bits here), 1, 4, 8, 15, 16, 24 or 32. 15 and 16 bits have no layout of their
// own and are written as 24 bits; 32 bits gives the same file as 24 bits (the fourth byte is
// dropped). For 1 bit a pixel is white when its luminance is at least 128. For 4 and 8 bits an
// image that is already Format_Indexed8 with few enough colours keeps its colour table;
// otherwise its own colours are used when they fit, else it is reduced (4 bits: to the 16
// standard colours; 8 bits: to a colour cube). False with *error for a null image, an unknown
// pixel format, a picture too large for a TIFF file, or a device error.
bool WriteTiff(const QImage& image, int bitsPerPixel, QIODevice& device, QString* error = nullptr);

} // namespace px
