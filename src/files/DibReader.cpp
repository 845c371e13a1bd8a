#include "files/DibReader.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace px {

namespace {

constexpr quint32 kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kJpeg = 4, kPng = 5, kAlphaBitFields = 6;

quint32 u32(const uchar* p) { return qFromLittleEndian<quint32>(p); }
qint32 s32(const uchar* p) { return qFromLittleEndian<qint32>(p); }
quint16 u16(const uchar* p) { return qFromLittleEndian<quint16>(p); }

// One colour channel of a bit-field pixel: the value under the mask, scaled to 0..255.
struct Channel {
    quint32 mask = 0;
    int shift = 0;
    quint32 max = 0;
    int width = 0;         // bits of a contiguous mask; 0 for a mask with gaps
    bool gaps = false;

    explicit Channel(quint32 m = 0) : mask(m)
    {
        if (mask) {
            shift = std::countr_zero(mask);
            max = mask >> shift;
            width = std::bit_width(max);
            gaps = std::popcount(max) != width;
        }
    }
    // Narrow fields are widened by repeating their bits (5 bits abcde give abcdeabc), so
    // that full intensity stays full; wide fields keep their top 8 bits.
    uint operator()(quint32 pixel) const
    {
        if (!mask)
            return 0;
        const quint64 v = (pixel & mask) >> shift;
        if (gaps)
            return uint((v * 255 + max / 2) / max);
        if (width >= 8)
            return uint(v >> (width - 8));
        uint out = uint(v) << (8 - width);
        for (int filled = width; filled < 8; filled *= 2)
            out |= out >> filled;
        return out & 0xFF;
    }
};

struct Header {
    qint64 size = 0;
    qint64 width = 0;
    qint64 height = 0;  // as stored: negative for top-down rows
    int bits = 0;
    quint32 compression = kRgb;
    quint32 colorsUsed = 0;
    std::array<quint32, 4> masks{};  // red, green, blue, alpha
    bool core = false;  // 12-byte header: 3-byte colour table entries
    bool os2 = false;   // OS/2 2.x header: compression 3 and 4 mean other things
};

DibReadResult fail(const char* reason)
{
    DibReadResult r;
    r.error = QString::fromLatin1(reason);
    return r;
}

} // namespace

DibReadResult ReadDib(const QByteArray& data, qint64 headerOffset, const DibReadOptions& options)
{
    const auto* d = reinterpret_cast<const uchar*>(data.constData());
    const qint64 size = data.size();
    if (headerOffset < 0 || headerOffset + 4 > size)
        return fail("bitmap header truncated");

    Header h;
    h.size = u32(d + headerOffset);
    if (h.size > size - headerOffset)
        return fail("bitmap header truncated");
    // The fields of every header form, copied into one zeroed buffer so that a short OS/2
    // header reads its missing fields as zero.
    std::array<uchar, 124> hb{};
    std::memcpy(hb.data(), d + headerOffset, size_t(std::min<qint64>(h.size, qint64(hb.size()))));
    if (h.size == 12) {
        h.core = true;
        h.width = u16(&hb[4]);
        h.height = u16(&hb[6]);
        h.bits = u16(&hb[10]);
    } else if (h.size >= 16) {
        h.os2 = h.size < 40 || h.size == 64;
        h.width = s32(&hb[4]);
        h.height = s32(&hb[8]);
        h.bits = u16(&hb[14]);
        h.compression = u32(&hb[16]);
        h.colorsUsed = u32(&hb[32]);
    } else {
        return fail("unknown bitmap header size");
    }

    if (h.width <= 0 || h.height == 0)
        return fail("zero or negative picture size");
    const bool topDown = h.height < 0;
    qint64 height = topDown ? -h.height : h.height;
    if (options.iconHalfHeight)
        height /= 2;
    if (height <= 0)
        return fail("zero picture height");

    switch (h.bits) {
    case 1: case 2: case 4: case 8: case 16: case 24: case 32: break;
    default: return fail("unsupported number of bits per pixel");
    }
    if (h.os2 && (h.compression == kBitFields || h.compression == kJpeg))
        return fail("unsupported OS/2 bitmap compression");
    switch (h.compression) {
    case kRgb: break;
    case kRle8: if (h.bits != 8) return fail("RLE8 data needs 8 bits per pixel"); break;
    case kRle4: if (h.bits != 4) return fail("RLE4 data needs 4 bits per pixel"); break;
    case kBitFields:
    case kAlphaBitFields:
        if (h.bits != 16 && h.bits != 32)
            return fail("bit-field data needs 16 or 32 bits per pixel");
        break;
    case kJpeg: return fail("bitmaps holding JPEG data are not supported");
    case kPng: return fail("bitmaps holding PNG data are not supported");
    default: return fail("unknown bitmap compression");
    }
    if (h.width * height > options.maxPixels)
        return fail("picture too large");

    // Bit-field masks: inside the larger headers, or right after a 40-byte one.
    qint64 pos = headerOffset + h.size;
    if (h.compression == kBitFields || h.compression == kAlphaBitFields) {
        const int count = h.compression == kAlphaBitFields ? 4 : 3;
        if (h.size >= 52 && !h.os2) {
            for (int i = 0; i < 4; ++i)
                h.masks[size_t(i)] = u32(&hb[size_t(40 + 4 * i)]);
        } else {
            if (pos + 4 * count > size)
                return fail("bit-field masks truncated");
            for (int i = 0; i < count; ++i)
                h.masks[size_t(i)] = u32(d + pos + 4 * i);
            pos += 4 * count;
        }
    } else if (h.bits == 16) {
        h.masks = {0x7C00, 0x03E0, 0x001F, 0};
    } else if (h.bits == 32) {
        h.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, options.alphaInFourthByte ? 0xFF000000 : 0};
    }

    // Colour table. Entries missing from a short table read as black.
    std::array<QRgb, 256> palette;
    palette.fill(qRgb(0, 0, 0));
    const int entrySize = h.core ? 3 : 4;
    if (h.bits <= 8) {
        // The table holds "colours used" entries when that is given, else one per index; only
        // the entries an index can reach are read, but the pixels follow the whole table.
        const qint64 stored = h.colorsUsed > 0 ? qint64(h.colorsUsed) : qint64(1) << h.bits;
        qint64 limit = size;
        if (options.pixelOffset > pos)
            limit = std::min(limit, options.pixelOffset);
        const qint64 present = std::min(stored, (limit - pos) / entrySize);
        const qint64 count = std::min(present, qint64(1) << h.bits);
        if (count <= 0)
            return fail("colour table missing");
        for (qint64 i = 0; i < count; ++i) {
            const uchar* e = d + pos + i * entrySize;
            palette[size_t(i)] = qRgb(e[2], e[1], e[0]);
        }
        pos += present * entrySize;
    } else if (h.colorsUsed > 0 && options.pixelOffset < 0) {
        // A colour table beside true-colour pixels is only a display hint; skip it.
        pos += std::min<qint64>(h.colorsUsed, (size - pos) / entrySize) * entrySize;
    }

    const qint64 pixelOffset = options.pixelOffset >= 0 ? options.pixelOffset : pos;
    if (pixelOffset > size)
        return fail("pixel data offset past the end of the file");

    const int width = int(h.width);
    const int rows = int(height);
    const bool alphaPossible = h.masks[3] != 0;
    QImage image(width, rows, alphaPossible ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull())
        return fail("not enough memory for the picture");

    DibReadResult result;
    result.bitCount = h.bits;
    result.topDown = topDown;
    result.is555 = h.bits == 16 && h.masks[0] == 0x7C00 && h.masks[1] == 0x03E0 && h.masks[2] == 0x001F;

    auto destRow = [&](qint64 fileRow) {
        return reinterpret_cast<QRgb*>(image.scanLine(int(topDown ? fileRow : rows - 1 - fileRow)));
    };

    if (h.compression == kRle8 || h.compression == kRle4) {
        image.fill(qRgb(0, 0, 0));  // pixels the data skips stay black
        const bool rle8 = h.compression == kRle8;
        qint64 p = pixelOffset;
        qint64 x = 0, row = 0;
        auto put = [&](qint64 at, uint index) {
            if (at < width)
                destRow(row)[at] = palette[index];
        };
        while (row < rows && p + 2 <= size) {
            const uint count = d[p], value = d[p + 1];
            p += 2;
            if (count > 0) {
                for (uint i = 0; i < count && x + i < width; ++i)
                    put(x + i, rle8 ? value : (i & 1) ? (value & 15) : (value >> 4));
                x = std::min<qint64>(x + count, qint64(width) + 1);
            } else if (value == 0) {
                x = 0;
                ++row;
            } else if (value == 1) {
                break;
            } else if (value == 2) {
                if (p + 2 > size)
                    return fail("compressed data truncated");
                x = std::min<qint64>(x + d[p], qint64(width) + 1);
                row += d[p + 1];
                p += 2;
            } else {
                const qint64 bytes = rle8 ? value : (value + 1) / 2;
                if (p + bytes > size)
                    return fail("compressed data truncated");
                for (uint i = 0; i < value && x + i < width; ++i)
                    put(x + i, rle8 ? d[p + i] : (i & 1) ? (d[p + i / 2] & 15) : (d[p + i / 2] >> 4));
                x = std::min<qint64>(x + value, qint64(width) + 1);
                p += bytes + (bytes & 1);
            }
        }
        result.image = image;
        return result;
    }

    const qint64 rowBytes = (h.width * h.bits + 7) / 8;
    const qint64 stride = (h.width * h.bits + 31) / 32 * 4;
    // The last row's padding is often left out; the pixels themselves must all be there.
    if (pixelOffset + stride * (height - 1) + rowBytes > size)
        return fail("pixel data truncated");
    result.pixelEnd = std::min(size, pixelOffset + stride * height);

    const Channel red(h.masks[0]), green(h.masks[1]), blue(h.masks[2]), alpha(h.masks[3]);
    const bool plain32 = h.bits == 32 && h.masks[0] == 0x00FF0000 && h.masks[1] == 0x0000FF00
                         && h.masks[2] == 0x000000FF && (h.masks[3] == 0 || h.masks[3] == 0xFF000000);
    for (qint64 r = 0; r < height; ++r) {
        const uchar* src = d + pixelOffset + r * stride;
        QRgb* out = destRow(r);
        switch (h.bits) {
        case 1: case 2: case 4: case 8: {
            const int perByte = 8 / h.bits;
            const uint valueMask = (1u << h.bits) - 1;
            for (int x = 0; x < width; ++x) {
                const int shift = (perByte - 1 - x % perByte) * h.bits;
                out[x] = palette[(src[x / perByte] >> shift) & valueMask];
            }
            break;
        }
        case 24:
            for (int x = 0; x < width; ++x, src += 3)
                out[x] = qRgb(src[2], src[1], src[0]);
            break;
        case 16:
        case 32:
            if (plain32) {
                for (int x = 0; x < width; ++x, src += 4)
                    out[x] = qRgba(src[2], src[1], src[0], alphaPossible ? src[3] : 255);
            } else {
                for (int x = 0; x < width; ++x) {
                    quint32 v;
                    if (h.bits == 16) {
                        v = u16(src);
                        src += 2;
                    } else {
                        v = u32(src);
                        src += 4;
                    }
                    out[x] = qRgba(red(v), green(v), blue(v), alphaPossible ? alpha(v) : 255);
                }
            }
            break;
        }
    }

    if (alphaPossible) {
        // Many writers name an alpha channel and leave it zero: such a picture is opaque.
        bool anyVisible = false, anyTranslucent = false;
        for (int y = 0; y < rows; ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < width; ++x) {
                const int a = qAlpha(line[x]);
                anyVisible |= a != 0;
                anyTranslucent |= a != 255;
            }
        }
        result.alphaUsed = anyVisible;
        if (!anyVisible || !anyTranslucent) {
            for (int y = 0; y < rows; ++y) {
                QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
                for (int x = 0; x < width; ++x)
                    line[x] |= 0xFF000000u;
            }
            image.reinterpretAsFormat(QImage::Format_RGB32);
        }
    }
    result.image = image;
    return result;
}

} // namespace px
