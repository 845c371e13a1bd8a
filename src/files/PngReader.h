#pragma once
// Reading PNG files through libpng, straight from the file in small pieces: no copy of the
// whole file in memory and no image-format plugins to look up, which keeps a one-file
// conversion process short.
#include <QIODevice>
#include <QImage>
#include <QString>

namespace px {

struct PngReadResult {
    QImage image;   // Format_RGB32, or Format_ARGB32 when the file has alpha or a transparent colour
    QString error;  // why image is null; empty on success
};

// Every colour type and bit depth (16-bit samples are scaled to 8, palettes and grey expanded,
// interlaced files de-interlaced). A picture of more than maxPixels pixels, a damaged file or
// a device error gives an error, never an unbounded allocation.
PngReadResult ReadPng(QIODevice& device, qint64 maxPixels = qint64(1) << 28);

} // namespace px
