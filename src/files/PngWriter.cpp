#include "files/PngWriter.h"

#include <png.h>

#include <csetjmp>
#include <vector>

namespace px {

namespace {

struct WriteState {
    QIODevice* device = nullptr;
    QString error;
};

void writeData(png_structp png, png_bytep data, png_size_t length)
{
    auto* state = static_cast<WriteState*>(png_get_io_ptr(png));
    if (state->device->write(reinterpret_cast<const char*>(data), qint64(length)) != qint64(length)) {
        state->error = state->device->errorString();
        png_error(png, "write failed");
    }
}

void flushData(png_structp) {}

void onError(png_structp png, png_const_charp message)
{
    auto* state = static_cast<WriteState*>(png_get_error_ptr(png));
    if (state->error.isEmpty())
        state->error = QString::fromLatin1(message);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

} // namespace

bool WritePng(const QImage& image, QIODevice& device, const PngOptions& options, QString* error)
{
    if (image.isNull()) {
        if (error)
            *error = QStringLiteral("empty picture");
        return false;
    }
    // 0xAARRGGBB words in memory order B, G, R, A on this little-endian machine; libpng is
    // told to swap to RGB and to drop or keep the fourth byte.
    const QImage src = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
        ? image
        : image.convertToFormat(options.alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);

    WriteState state{&device, {}};
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state, onError, onWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, nullptr);
        if (error)
            *error = QStringLiteral("out of memory");
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        if (error)
            *error = state.error;
        return false;
    }
    png_set_write_fn(png, &state, writeData, flushData);
    png_set_compression_level(png, options.compressionLevel);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_IHDR(png, info, png_uint_32(src.width()), png_uint_32(src.height()), 8,
                 options.alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_write_info(png, info);
    png_set_bgr(png);
    if (!options.alpha)
        png_set_filler(png, 0, PNG_FILLER_AFTER);  // the unused fourth byte is stripped
    for (int y = 0; y < src.height(); ++y)
        png_write_row(png, const_cast<png_bytep>(src.constScanLine(y)));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace px
