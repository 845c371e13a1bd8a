// Bitmap files from outside: any bytes must give a picture or a reason, never both, never a
// crash. A small picture that reads is written again, losslessly in 24 bits and in the pixel
// format the file declared, and must read back to the same pixels.
#include "files/BmpFile.h"

#include "FuzzChecks.h"

#include <cstdint>
#include <cstdlib>

namespace {

QImage writeAndRead(const QImage& image, px::BmpPixelFormat format)
{
    const px::BmpReadResult again =
        px::ReadBmp(px::fuzz::WrittenOrAbort([&](QIODevice& out) { return px::WriteBmp(image, format, out); }));
    if (!again.error.isEmpty())
        std::abort();
    return again.image;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = px::fuzz::FuzzInput(data, size);
    // A lower pixel cap than the program's keeps every run quick; the checks are the same.
    const px::BmpReadResult read = px::ReadBmp(input, 4'000'000);
    px::fuzz::RequirePictureOrReason(read);
    if (read.image.isNull() || qint64(read.image.width()) * read.image.height() > 64 * 64)
        return 0;

    const QImage expected = read.image.convertToFormat(QImage::Format_RGB32);
    if (writeAndRead(read.image, px::BmpPixelFormat::Bit24) != expected)
        std::abort();
    // 16-bit files with other masks than 5-5-5 or 5-6-5 lose bits in either format.
    const bool exact = read.format != px::BmpPixelFormat::Bit15 && read.format != px::BmpPixelFormat::Bit16;
    if (exact && writeAndRead(read.image, read.format) != expected)
        std::abort();
    return 0;
}
