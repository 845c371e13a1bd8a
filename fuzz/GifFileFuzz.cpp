// GIF files from outside: any bytes must decode to a picture or a reason, never both, never a
// crash; a small picture that decodes is written again by our encoder in both code-stream
// modes and reads back to the same colours.
#include "files/GifFile.h"

#include "FuzzChecks.h"

#include <cstdint>
#include <cstdlib>

namespace {

QRgb opaque(QRgb c)
{
    return c | 0xff000000u;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = px::fuzz::FuzzInput(data, size);
    const px::GifReadResult read = px::ReadGif(input);
    px::fuzz::RequirePictureOrReason(read);
    if (read.image.isNull() || qint64(read.image.width()) * read.image.height() > 128 * 128)
        return 0;

    for (const px::GifCompression compression : {px::GifCompression::Lzw, px::GifCompression::RunLength}) {
        const px::GifReadResult again = px::ReadGif(px::fuzz::WrittenOrAbort([&](QIODevice& out) {
            return px::WriteGif(read.image, out, {px::ColorReduction::None, px::DitherMode::Nearest, compression});
        }));
        if (!again.error.isEmpty() || again.image.size() != read.image.size())
            std::abort();
        for (int y = 0; y < read.image.height(); ++y)
            for (int x = 0; x < read.image.width(); ++x)
                if (opaque(again.image.pixel(x, y)) != opaque(read.image.pixel(x, y)))
                    std::abort();
    }
    return 0;
}
