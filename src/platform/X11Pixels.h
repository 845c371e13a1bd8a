#pragma once
// Turning the pixels of an X server's Z-format image into a QImage: the layouts of the usual
// true-colour visuals (24/32-bit, 15/16-bit, 8-bit true colour), in either byte order.
#include <QImage>
#include <QPoint>
#include <cstdint>

namespace px {

// How the server lays out the pixels of a Z-format image.
struct X11PixelLayout {
    int bitsPerPixel = 32;      // 8, 16, 24 or 32
    std::uint32_t redMask = 0xff0000;
    std::uint32_t greenMask = 0x00ff00;
    std::uint32_t blueMask = 0x0000ff;
    bool msbFirst = false;      // byte order of the image data
};

// 32-bit pixels 0x00RRGGBB in this machine's byte order: QImage::Format_RGB32 but for the top byte.
bool isQImageLayout(const X11PixelLayout& layout);

// Converts width x height server pixels (rows srcStride bytes apart) into dst, a
// Format_RGB32 image, with the first pixel at dstAt. Channels narrower than 8 bits are
// widened so that full intensity stays full (5 bits 31 -> 255). False when the layout is not
// a true-colour layout this code reads (dst is then left untouched).
bool convertX11Pixels(const std::uint8_t* src, int srcStride, int width, int height,
                      const X11PixelLayout& layout, QImage& dst, const QPoint& dstAt);

} // namespace px
