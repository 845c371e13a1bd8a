#pragma once
// Windows bitmap files (.bmp, and .pxg, which holds the same bytes under the program's own
// extension): the writer for every "BmpPixForm" pixel format, the "BmpMonochrome" conversion
// in the order each kind of save applies it, and the reader for the bitmap variants found in
// the wild.
#include "files/DibReader.h"

#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QString>

namespace px {

// The values of the "BmpPixForm" option, in its order. Device is what the screen delivers:
// 32 bits per pixel here.
enum class BmpPixelFormat : int { Device = 0, Bit1, Bit4, Bit8, Bit15, Bit16, Bit24, Bit32 };

// An option value outside 0..7 gives the option's default, 24 bits.
BmpPixelFormat BmpPixelFormatFromOption(int value);
// Bits per pixel in the file: 1, 4, 8, 16 (for 15 and 16), 24, 32 (also for Device).
int BmpBitsPerPixel(BmpPixelFormat format);

// The picture as a bitmap of that pixel format holds it: 1, 4 and 8 bits reduce the colours
// to a palette of 2, 16 or 256 entries, 15 and 16 bits drop the low bits of each component.
// Always Format_RGB32.
QImage ConvertToBmpPixelFormat(const QImage& image, BmpPixelFormat format);
// Black and white by brightness (Format_RGB32).
QImage ToMonochrome(const QImage& image);

// Save As sets the pixel format and then the monochrome flag; the automatic save sets the
// monochrome flag first and then the pixel format.
enum class BmpOptionOrder { PixelFormatFirst, MonochromeFirst };

struct BmpBitmap {
    QImage image;                                  // the pixels the picture keeps after the change
    BmpPixelFormat format = BmpPixelFormat::Device;  // the format it is written and declared in
};

// Applies "BmpPixForm" and "BmpMonochrome" as a save does. A monochrome bitmap is a 1-bit
// bitmap; making a monochrome bitmap another pixel format keeps it black and white.
BmpBitmap ApplyBmpOptions(const QImage& image, BmpPixelFormat pixelFormat, bool monochrome, BmpOptionOrder order);

// Writes image as a bottom-up BMP file of that pixel format (16 bits as 5-6-5 with bit-field
// masks, 15 bits as plain 16-bit data). False with *error when the picture is null or too
// large for the format, or the device refuses the bytes.
bool WriteBmp(const QImage& image, BmpPixelFormat format, QIODevice& device, QString* error = nullptr);
// A .pxg file is the BMP file of the picture's current pixel format.
inline bool WritePxg(const QImage& image, BmpPixelFormat format, QIODevice& device, QString* error = nullptr)
{
    return WriteBmp(image, format, device, error);
}

struct BmpReadResult {
    QImage image;   // Format_RGB32, or Format_ARGB32 when the file has real alpha
    QString error;  // short English reason; empty on success
    BmpPixelFormat format = BmpPixelFormat::Device;  // the file's pixel format
};

// Reads a whole BMP file: the core, version 3, 4 and 5 headers (and OS/2 ones), 1 to 32 bits
// per pixel, bottom-up and top-down rows, RLE8, RLE4 and bit fields.
BmpReadResult ReadBmp(const QByteArray& file, qint64 maxPixels = kMaxDibPixels);
inline BmpReadResult ReadPxg(const QByteArray& file) { return ReadBmp(file); }

} // namespace px
