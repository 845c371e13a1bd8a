#include "files/GifFile.h"

#include "files/GifCodeStream.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace px {

namespace {

constexpr int kMaxSide = 0xffff;  // GIF sizes are 16-bit numbers

// Reading caps: no picture of more pixels or pixel memory is allocated.
constexpr qint64 kMaxPixels = 268'435'456;
constexpr qint64 kMaxPixelBytes = qint64(2) << 30;
// One code is at least 3 bits and stands for at most 4096 pixels: a file with less data than
// that could ever expand to cannot hold the picture its header claims.
constexpr qint64 kMaxPixelsPerDataByte = 8 * 4096 / 3 + 1;

void appendWord(QByteArray& out, int value)
{
    out.append(char(value & 0xff));
    out.append(char((value >> 8) & 0xff));
}

struct MemorySource {
    const QByteArray* data = nullptr;
    qsizetype position = 0;
};

int readFromMemory(GifFileType* gif, GifByteType* buffer, int length)
{
    auto* source = static_cast<MemorySource*>(gif->UserData);
    const qsizetype available = source->data->size() - source->position;
    const int n = int(std::clamp<qsizetype>(available, 0, std::max(length, 0)));
    if (n > 0)
        std::memcpy(buffer, source->data->constData() + source->position, size_t(n));
    source->position += n;
    return n;
}

QString libraryError(int code)
{
    if (code == D_GIF_ERR_READ_FAILED)
        return QStringLiteral("the file ends too early");
    const char* text = GifErrorString(code);
    return text ? QString::fromLatin1(text) : QStringLiteral("GIF error %1").arg(code);
}

GifReadResult failure(const QString& error)
{
    return GifReadResult{QImage(), error};
}

struct GifCloser {
    void operator()(GifFileType* gif) const
    {
        int ignored = 0;
        DGifCloseFile(gif, &ignored);
    }
};

} // namespace

GifOptions GifOptionsFromSettings(int gifColOpt, int gifDith, int gifComp)
{
    return GifOptions{ColorReductionFromSetting(gifColOpt), DitherModeFromSetting(gifDith),
                      gifComp != 0 ? GifCompression::RunLength : GifCompression::Lzw};
}

QByteArray EncodeGif(const QImage& indexed, GifCompression compression)
{
    const int colours = int(indexed.colorCount());
    const int width = indexed.width(), height = indexed.height();
    if (indexed.format() != QImage::Format_Indexed8 || colours < 1 || colours > 256 || width < 1
        || height < 1 || width > kMaxSide || height > kMaxSide)
        return {};
    std::vector<uint8_t> indices(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y) {
        const uchar* line = indexed.constScanLine(y);
        for (int x = 0; x < width; ++x) {
            if (line[x] >= colours)
                return {};
            indices[size_t(y) * size_t(width) + size_t(x)] = line[x];
        }
    }

    int tableBits = 1;
    while ((1 << tableBits) < colours)
        ++tableBits;
    int minCodeSize = std::max(2, tableBits);
    QByteArray codes;
    if (compression == GifCompression::Lzw) {
        codes = EncodeLzwCodes(indices.data(), indices.size(), minCodeSize);
    } else {
        // A run-length block holds 2^size - 2 codes: small code sizes pay a clear code every
        // few pixels, large ones pay wide codes for busy pixels. Any size up to 8 is valid
        // for a palette of fewer colours, so take whichever gives the shortest stream.
        for (int size = minCodeSize; size <= 8; ++size) {
            QByteArray candidate = EncodeRunLengthCodes(indices.data(), indices.size(), size);
            if (codes.isEmpty() || candidate.size() < codes.size()) {
                codes = std::move(candidate);
                minCodeSize = size;
            }
        }
    }

    QByteArray out;
    out.reserve(13 + 3 * 256 + 11 + codes.size() + codes.size() / 255 + 4);
    out.append("GIF89a", 6);
    // Logical screen: global colour table present, 8 bits of colour resolution, table size.
    appendWord(out, width);
    appendWord(out, height);
    out.append(char(0x80 | 0x70 | (tableBits - 1)));
    out.append('\0');  // background colour index
    out.append('\0');  // no pixel aspect ratio
    const QList<QRgb> table = indexed.colorTable();
    for (int i = 0; i < (1 << tableBits); ++i) {
        const QRgb c = i < colours ? table[i] : 0;
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    // One image covering the screen, no local table, not interlaced.
    out.append(',');
    appendWord(out, 0);
    appendWord(out, 0);
    appendWord(out, width);
    appendWord(out, height);
    out.append('\0');
    out.append(char(minCodeSize));
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const qsizetype n = std::min<qsizetype>(255, codes.size() - at);
        out.append(char(n));
        out.append(codes.constData() + at, n);
    }
    out.append('\0');  // end of the image data
    out.append(';');   // trailer
    return out;
}

bool WriteGif(const QImage& image, QIODevice& device, const GifOptions& options, QString* error)
{
    auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    if (image.isNull())
        return fail(QStringLiteral("empty picture"));
    if (image.width() > kMaxSide || image.height() > kMaxSide)
        return fail(QStringLiteral("picture too large for GIF (at most 65535 x 65535 pixels)"));
    const QImage indexed = ReduceColors(image, options.reduction, options.dither);
    if (indexed.isNull())
        return fail(QStringLiteral("out of memory"));
    const QByteArray bytes = EncodeGif(indexed, options.compression);
    if (bytes.isEmpty())
        return fail(QStringLiteral("out of memory"));
    if (device.write(bytes) != bytes.size())
        return fail(device.errorString());
    return true;
}

GifReadResult ReadGif(const QByteArray& data)
{
    MemorySource source{&data, 0};
    int openError = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&source, readFromMemory, &openError));
    if (!gif)
        return failure(libraryError(openError));

    int transparentIndex = -1;
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR)
            return failure(libraryError(gif->Error));
        if (record == EXTENSION_RECORD_TYPE) {
            int function = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif.get(), &function, &block) == GIF_ERROR)
                return failure(libraryError(gif->Error));
            // Graphic control: flags, delay (2 bytes), transparent colour index.
            if (function == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4)
                transparentIndex = (block[1] & 1) ? block[4] : -1;
            while (block) {
                if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR)
                    return failure(libraryError(gif->Error));
            }
            continue;
        }
        if (record == TERMINATE_RECORD_TYPE)
            return failure(QStringLiteral("the file holds no picture"));
        if (record != IMAGE_DESC_RECORD_TYPE)
            return failure(QStringLiteral("unknown record in the file"));
        break;
    }

    if (DGifGetImageDesc(gif.get()) == GIF_ERROR)
        return failure(libraryError(gif->Error));
    const GifImageDesc& desc = gif->Image;
    const int width = desc.Width, height = desc.Height;
    if (width <= 0 || height <= 0)
        return failure(QStringLiteral("picture of zero size"));
    const qint64 pixels = qint64(width) * qint64(height);
    if (pixels > kMaxPixels || pixels * 4 > kMaxPixelBytes)
        return failure(QStringLiteral("picture too large (%1 x %2 pixels)").arg(width).arg(height));
    const qint64 remaining = data.size() - source.position;
    if (pixels > remaining * kMaxPixelsPerDataByte)
        return failure(QStringLiteral("the file is too short for a picture of %1 x %2 pixels").arg(width).arg(height));
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (!map || !map->Colors || map->ColorCount <= 0)
        return failure(QStringLiteral("the picture has no colour table"));

    std::array<QRgb, 256> palette;
    palette.fill(qRgb(0, 0, 0));  // indices past the table's end read as black
    for (int i = 0; i < std::min(map->ColorCount, 256); ++i)
        palette[size_t(i)] = qRgb(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue);
    if (transparentIndex >= 0)
        palette[size_t(transparentIndex)] &= 0x00ffffffu;

    QImage image(width, height, transparentIndex >= 0 ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull())
        return failure(QStringLiteral("out of memory"));
    std::vector<GifPixelType> line(static_cast<size_t>(width));
    auto readRow = [&](int y) {
        if (DGifGetLine(gif.get(), line.data(), width) == GIF_ERROR)
            return false;
        QRgb* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            out[x] = palette[line[size_t(x)]];
        return true;
    };
    if (desc.Interlace) {
        // Rows 0, 8, 16, ..., then 4, 12, ..., then 2, 6, ..., then the odd rows.
        static constexpr int kStart[4] = {0, 4, 2, 1};
        static constexpr int kStep[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = kStart[pass]; y < height; y += kStep[pass])
                if (!readRow(y))
                    return failure(libraryError(gif->Error));
    } else {
        for (int y = 0; y < height; ++y)
            if (!readRow(y))
                return failure(libraryError(gif->Error));
    }
    return GifReadResult{image, QString()};
}

} // namespace px
