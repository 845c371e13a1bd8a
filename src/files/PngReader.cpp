// PNG decoding with libpng's row interface, fed from a QIODevice in small reads.
#include "files/PngReader.h"

#include <png.h>

#include <csetjmp>
#include <vector>

namespace px {

namespace {

struct ReadState {
    QIODevice* device = nullptr;
    const char* failure = nullptr;  // our own reason, when not libpng's
    char message[200] = {};
};

void readFromDevice(png_structp png, png_bytep data, size_t length)
{
    auto* state = static_cast<ReadState*>(png_get_io_ptr(png));
    qint64 done = 0;
    while (done < qint64(length)) {
        const qint64 n = state->device->read(reinterpret_cast<char*>(data) + done, qint64(length) - done);
        if (n <= 0) {
            state->failure = "the file is cut short";
            png_error(png, "read");
        }
        done += n;
    }
}

void onError(png_structp png, png_const_charp message)
{
    auto* state = static_cast<ReadState*>(png_get_error_ptr(png));
    if (!state->failure)
        qstrncpy(state->message, message, sizeof state->message);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

struct Decode {
    ReadState state;
    QImage image;
    std::vector<png_bytep> rows;
};

// The decode proper. Everything that must survive libpng's error jump lives in *decode: a
// jump skips no destructor here, and nothing read after it is kept in this frame.
bool decodeRows(png_structp png, png_infop info, Decode* decode, qint64 maxPixels)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, &decode->state, readFromDevice);
    // Outside data: chunks we do not use are skipped, not kept. libpng allocates a buffer of
    // the declared length for the text, profile and other variable chunks before reading
    // them, so a lying length would cost gigabytes: those are skipped unread as well.
    static const png_byte unused[] = "tEXt\0zTXt\0iTXt\0iCCP\0sPLT\0pCAL\0sCAL\0eXIf\0";
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, unused, int(sizeof unused / 5));
    png_set_chunk_malloc_max(png, 8 * 1024 * 1024);
    png_read_info(png, info);

    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (width == 0 || height == 0 || qint64(width) * height > maxPixels || width > 0x7FFFFFFF / 4) {
        decode->state.failure = "the picture is too large";
        png_error(png, "size");
    }
    const int colourType = png_get_color_type(png, info);
    const bool alpha = (colourType & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS);

    // Everything becomes 8-bit B, G, R, A in memory: QImage's 32-bit layout on little-endian.
    png_set_scale_16(png);
    png_set_packing(png);
    if (colourType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && png_get_bit_depth(png, info) < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_tRNS_to_alpha(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_bgr(png);
    if (!alpha)
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != size_t(width) * 4) {
        decode->state.failure = "unsupported PNG layout";
        png_error(png, "layout");
    }

    decode->image = QImage(int(width), int(height), alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (decode->image.isNull()) {
        decode->state.failure = "not enough memory";
        png_error(png, "memory");
    }
    decode->rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        decode->rows[y] = decode->image.scanLine(int(y));
    png_read_image(png, decode->rows.data());
    png_read_end(png, nullptr);
    return true;
}

} // namespace

PngReadResult ReadPng(QIODevice& device, qint64 maxPixels)
{
    PngReadResult result;
    Decode decode;
    decode.state.device = &device;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &decode.state, onError, onWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        result.error = QStringLiteral("not enough memory");
        return result;
    }
    const bool ok = decodeRows(png, info, &decode, maxPixels);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!ok) {
        result.error = decode.state.failure
                           ? QString::fromLatin1(decode.state.failure)
                           : QStringLiteral("not a readable PNG file (%1)").arg(QString::fromLatin1(decode.state.message));
        return result;
    }
    result.image = std::move(decode.image);
    return result;
}

} // namespace px
