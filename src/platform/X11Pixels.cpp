#include "platform/X11Pixels.h"

#include <array>
#include <bit>
#include <cstring>

namespace px {
namespace {

struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
    std::array<std::uint8_t, 256> widen{};

    bool set(std::uint32_t m)
    {
        mask = m;
        if (m == 0)
            return false;
        shift = std::countr_zero(m);
        const std::uint32_t v = m >> shift;
        bits = std::popcount(v);
        if ((v & (v + 1)) != 0) // not one contiguous run of bits
            return false;
        if (bits < 8) {
            const std::uint32_t top = (1u << bits) - 1;
            for (std::uint32_t i = 0; i <= top; ++i)
                widen[i] = std::uint8_t((i * 255 + top / 2) / top);
        }
        return true;
    }
    std::uint32_t operator()(std::uint32_t pixel) const
    {
        const std::uint32_t v = (pixel & mask) >> shift;
        return bits >= 8 ? (v >> (bits - 8)) & 0xff : widen[v];
    }
};

std::uint32_t readPixel(const std::uint8_t* p, int bytes, bool msbFirst)
{
    std::uint32_t v = 0;
    if (msbFirst) {
        for (int i = 0; i < bytes; ++i)
            v = (v << 8) | p[i];
    } else {
        for (int i = bytes - 1; i >= 0; --i)
            v = (v << 8) | p[i];
    }
    return v;
}

} // namespace

bool isQImageLayout(const X11PixelLayout& layout)
{
    return layout.bitsPerPixel == 32 && !layout.msbFirst && layout.redMask == 0xff0000 && layout.greenMask == 0xff00
        && layout.blueMask == 0xff;
}

bool convertX11Pixels(const std::uint8_t* src, int srcStride, int width, int height,
                      const X11PixelLayout& layout, QImage& dst, const QPoint& dstAt)
{
    if (!src || width <= 0 || height <= 0 || dst.format() != QImage::Format_RGB32)
        return false;
    if (!dst.rect().contains(QRect(dstAt, QSize(width, height))))
        return false;
    const int bpp = layout.bitsPerPixel;
    if (bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return false;
    const int bytes = bpp / 8;
    if (srcStride < width * bytes)
        return false;

    // The usual layout of a 24- or 32-bit visual on this machine's byte order is already
    // QImage's: rows are copied, with the unused top byte set to opaque.
    if (isQImageLayout(layout)) {
        for (int y = 0; y < height; ++y) {
            const std::uint8_t* s = src + std::size_t(y) * std::size_t(srcStride);
            auto* d = reinterpret_cast<QRgb*>(dst.scanLine(dstAt.y() + y)) + dstAt.x();
            for (int x = 0; x < width; ++x) {
                std::uint32_t v;
                std::memcpy(&v, s + std::size_t(x) * 4, 4);
                d[x] = v | 0xff000000u;
            }
        }
        return true;
    }

    Channel red, green, blue;
    if (!red.set(layout.redMask) || !green.set(layout.greenMask) || !blue.set(layout.blueMask))
        return false;
    const std::uint64_t all = std::uint64_t(layout.redMask) | layout.greenMask | layout.blueMask;
    if (bpp < 32 && (all >> bpp) != 0)
        return false;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* s = src + std::size_t(y) * std::size_t(srcStride);
        auto* d = reinterpret_cast<QRgb*>(dst.scanLine(dstAt.y() + y)) + dstAt.x();
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = readPixel(s + std::size_t(x) * std::size_t(bytes), bytes,
                                              layout.msbFirst);
            d[x] = qRgb(int(red(v)), int(green(v)), int(blue(v)));
        }
    }
    return true;
}

} // namespace px
