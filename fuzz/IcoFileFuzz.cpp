// Icon files from outside: any bytes must give a picture or a reason, never both, never a
// crash; the chosen picture is one of the images. A small picture that reads is written as
// our icon and must read back to the same pixels.
#include "files/IcoFile.h"

#include "FuzzChecks.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = px::fuzz::FuzzInput(data, size);
    const px::IcoReadResult read = px::ReadIco(input, 4'000'000);
    px::fuzz::RequirePictureOrReason(read);
    if (read.image.isNull())
        return read.images.isEmpty() ? 0 : (std::abort(), 0);
    if (read.chosen < 0 || read.chosen >= read.images.size() || read.images[read.chosen] != read.image)
        std::abort();
    if (qint64(read.image.width()) * read.image.height() > 64 * 64)
        return 0;

    const QByteArray written = px::fuzz::WrittenOrAbort([&](QIODevice& out) { return px::WriteIco(read.image, out); });
    const px::IcoReadResult again = px::ReadIco(written);
    if (!again.error.isEmpty() || again.images.size() != 1
        || again.image.convertToFormat(QImage::Format_ARGB32) != read.image.convertToFormat(QImage::Format_ARGB32))
        std::abort();
    return 0;
}
