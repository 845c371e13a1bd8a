#pragma once
// Reads real TIFF files through libtiff: strips or tiles; bilevel, grey, palette, RGB and the
// other photometric kinds libtiff can turn into RGBA; uncompressed, LZW, deflate, PackBits,
// fax and JPEG data. The first image of the file is read. The file is outside data: libtiff's
// messages are collected instead of printed, and sizes are capped before any allocation.
#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

namespace px {

struct TiffReadLimits {
    qint64 maxPixels = 268'435'456;           // width x height
    qint64 maxBytes = qint64(2) << 30;        // pixel memory, and libtiff's largest single buffer
};

struct TiffReadResult {
    QImage image;          // Format_RGB32, or Format_ARGB32 when the file has an alpha channel
    QString error;         // empty on success; else a short reason
    int bitsPerPixel = 0;  // bits per sample x samples per pixel of the image read
    QStringList warnings;  // libtiff's warnings while reading (at most a few)
};

// Reads the first image of the TIFF file held in data.
TiffReadResult ReadTiff(const QByteArray& data, const TiffReadLimits& limits = {});

} // namespace px
