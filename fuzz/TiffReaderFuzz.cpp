// TIFF files from outside: any bytes must give a picture or a reason, never both, never a
// crash; a picture read within the caps writes as our own TIFF and reads back the same.
#include "files/TiffReader.h"
#include "files/TiffWriter.h"

#include "FuzzChecks.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = px::fuzz::FuzzInput(data, size);
    // Small caps keep every run quick; the caps themselves are what is checked here.
    px::TiffReadLimits limits;
    limits.maxPixels = 4 * 1024 * 1024;
    limits.maxBytes = 64 * 1024 * 1024;
    const px::TiffReadResult read = px::ReadTiff(input, limits);
    px::fuzz::RequirePictureOrReason(read);
    if (read.image.isNull())
        return 0;
    if (qint64(read.image.width()) * read.image.height() > limits.maxPixels
        || (read.image.format() != QImage::Format_RGB32 && read.image.format() != QImage::Format_ARGB32))
        std::abort();
    if (qint64(read.image.width()) * read.image.height() > 256 * 256)
        return 0;

    const QByteArray written =
        px::fuzz::WrittenOrAbort([&](QIODevice& out) { return px::WriteTiff(read.image, 24, out); });
    const px::TiffReadResult again = px::ReadTiff(written, limits);
    QImage opaque = read.image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < opaque.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(opaque.scanLine(y));
        for (int x = 0; x < opaque.width(); ++x)
            line[x] |= 0xFF000000u;
    }
    if (!again.error.isEmpty() || again.image != opaque.convertToFormat(QImage::Format_RGB32))
        std::abort();
    return 0;
}
