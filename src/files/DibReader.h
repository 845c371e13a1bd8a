#pragma once
// Decoding of a device-independent bitmap (the part of a BMP file after its file header, and
// the picture data of an icon entry): the information header in its core, version 3, 4 and 5
// forms, bit-field masks, the colour table and the pixels (uncompressed, RLE8, RLE4).
// Everything here reads outside data: every offset, count and size is checked first.
#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdint>

namespace px {

// Pixel counts beyond this are refused before anything is allocated (with 4 bytes a pixel it
// stays at 1 GiB of pixel memory).
inline constexpr qint64 kMaxDibPixels = 268'435'456;

struct DibReadOptions {
    // Icon entries store the colour bitmap and the AND mask one above the other, and their
    // header gives the height of both together.
    bool iconHalfHeight = false;
    // Where the pixels start, counted from the start of the buffer; -1: right after the
    // colour table (icons, and BMP files with a zero offset field).
    qint64 pixelOffset = -1;
    qint64 maxPixels = kMaxDibPixels;
    // Uncompressed 32-bit pixels carry alpha in their fourth byte (icons); in a bitmap file
    // that byte is reserved unless the header gives an alpha mask.
    bool alphaInFourthByte = false;
};

struct DibReadResult {
    QImage image;        // Format_RGB32, or Format_ARGB32 when the file carries real alpha
    QString error;       // short English reason; empty on success
    int bitCount = 0;    // bits per pixel as stored (4 or 8 for RLE4 / RLE8)
    bool is555 = false;  // 16-bit data with 5-5-5 masks (the 15-bit format)
    // The pixels had an alpha channel with some non-zero value. When every alpha value is
    // zero the channel is ignored and the picture is opaque.
    bool alphaUsed = false;
    bool topDown = false;  // rows stored from the top down
    qint64 pixelEnd = 0; // offset just past the stored rows (uncompressed data only)
};

// Decodes the DIB whose information header starts at headerOffset in data.
DibReadResult ReadDib(const QByteArray& data, qint64 headerOffset, const DibReadOptions& options = {});

} // namespace px
