// JPEG files from outside: any bytes must decode to a picture or a reason, never both, never
// a crash; whatever decodes has the size of its scale, and writes and reads back again.
#include "files/JpegFile.h"

#include "FuzzChecks.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = px::fuzz::FuzzInput(data, size);
    const int scale = 1 << (size % 4);
    // Small caps keep every run quick; the caps themselves are what is checked here.
    px::JpegReadLimits limits;
    limits.maxPixels = 4 * 1024 * 1024;
    limits.maxMemoryBytes = 64 * 1024 * 1024;
    limits.maxScans = 100;
    const px::JpegReadResult read = px::ReadJpeg(input, scale, limits);
    px::fuzz::RequirePictureOrReason(read);
    if (read.image.isNull())
        return 0;
    const QSize expected((read.fullSize.width() + scale - 1) / scale, (read.fullSize.height() + scale - 1) / scale);
    if (read.image.size() != expected || read.image.format() != QImage::Format_RGB32)
        std::abort();
    if (qint64(read.image.width()) * read.image.height() > 256 * 256)
        return 0;

    px::JpegWriteOptions options;
    options.greyScale = size % 2;
    const QByteArray written =
        px::fuzz::WrittenOrAbort([&](QIODevice& out) { return px::WriteJpeg(read.image, out, options); });
    const px::JpegReadResult again = px::ReadJpeg(written);
    if (again.image.size() != read.image.size() || !again.warning.isEmpty())
        std::abort();
    return 0;
}
