// Reading the X server's Z-format pixels into RGB32 (no display needed).
#include "platform/X11Screen.h"

#include <gtest/gtest.h>

#include <vector>

using namespace px;

namespace {

const X11PixelLayout kRgb32{32, 0xff0000, 0x00ff00, 0x0000ff, false};
const X11PixelLayout kRgb32Msb{32, 0xff0000, 0x00ff00, 0x0000ff, true};
const X11PixelLayout kBgr32{32, 0x0000ff, 0x00ff00, 0xff0000, false};
const X11PixelLayout kRgb24{24, 0xff0000, 0x00ff00, 0x0000ff, false};
const X11PixelLayout k565{16, 0xf800, 0x07e0, 0x001f, false};
const X11PixelLayout k565Msb{16, 0xf800, 0x07e0, 0x001f, true};
const X11PixelLayout k555{16, 0x7c00, 0x03e0, 0x001f, false};

QRgb convertOne(const std::vector<std::uint8_t>& bytes, const X11PixelLayout& layout)
{
    QImage dst(1, 1, QImage::Format_RGB32);
    dst.fill(qRgb(1, 2, 3));
    EXPECT_TRUE(convertX11Pixels(bytes.data(), int(bytes.size()), 1, 1, layout, dst, QPoint(0, 0)));
    return dst.pixel(0, 0);
}

} // namespace

TEST(X11Pixels, ConvertsEachLayoutToOpaqueRgb)
{
    struct Case {
        const char* name;
        X11PixelLayout layout;
        std::vector<std::uint8_t> bytes;
        QRgb want;
    };
    const Case cases[] = {
        {"32 bit, padding byte not opaque", kRgb32, {0x33, 0x22, 0x11, 0x00}, qRgb(0x11, 0x22, 0x33)},
        {"32 bit, most significant byte first", kRgb32Msb, {0x00, 0x11, 0x22, 0x33}, qRgb(0x11, 0x22, 0x33)},
        {"32 bit, blue in the high byte", kBgr32, {0x11, 0x22, 0x33, 0x00}, qRgb(0x11, 0x22, 0x33)},
        {"24 bit", kRgb24, {0x33, 0x22, 0x11}, qRgb(0x11, 0x22, 0x33)},
        {"565 full red", k565, {0x00, 0xf8}, qRgb(255, 0, 0)},
        {"565 full green", k565, {0xe0, 0x07}, qRgb(0, 255, 0)},
        {"565 full blue", k565, {0x1f, 0x00}, qRgb(0, 0, 255)},
        {"565 white", k565, {0xff, 0xff}, qRgb(255, 255, 255)},
        {"565 black", k565, {0x00, 0x00}, qRgb(0, 0, 0)},
        // red 16/31, green 32/63, blue 1/31
        {"565 middle", k565, {0x01, 0x84}, qRgb(132, 130, 8)},
        {"565 most significant byte first", k565Msb, {0xf8, 0x00}, qRgb(255, 0, 0)},
        {"555 full green", k555, {0xe0, 0x03}, qRgb(0, 255, 0)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(convertOne(c.bytes, c.layout), c.want) << c.name;
}

TEST(X11Pixels, HonoursRowPaddingAndPlacement)
{
    // Two rows of three 565 pixels, each row padded to 8 bytes with junk.
    const std::uint8_t src[] = {
        0x00, 0xf8, 0xe0, 0x07, 0x1f, 0x00, 0xaa, 0xaa,
        0xff, 0xff, 0x00, 0x00, 0x00, 0xf8, 0x55, 0x55,
    };
    QImage dst(5, 4, QImage::Format_RGB32);
    dst.fill(qRgb(9, 9, 9));
    ASSERT_TRUE(convertX11Pixels(src, 8, 3, 2, k565, dst, QPoint(1, 2)));
    const QRgb red = qRgb(255, 0, 0), green = qRgb(0, 255, 0), blue = qRgb(0, 0, 255);
    const QRgb white = qRgb(255, 255, 255), black = qRgb(0, 0, 0), fill = qRgb(9, 9, 9);
    const QRgb want[4][5] = {
        {fill, fill, fill, fill, fill},
        {fill, fill, fill, fill, fill},
        {fill, red, green, blue, fill},
        {fill, white, black, red, fill},
    };
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(dst.pixel(x, y), want[y][x]) << x << "," << y;
}

TEST(X11Pixels, RefusesWhatItCannotRead)
{
    const std::vector<std::uint8_t> src(64, 0x7f);
    QImage dst(4, 4, QImage::Format_RGB32);
    dst.fill(qRgb(1, 2, 3));
    const QImage before = dst;
    struct Case {
        const char* name;
        X11PixelLayout layout;
        int stride, width, height;
        QPoint at;
    };
    const Case cases[] = {
        {"12 bits per pixel", {12, 0xf00, 0xf0, 0xf}, 8, 2, 2, {0, 0}},
        {"no red mask (palette visual)", {16, 0, 0x07e0, 0x001f}, 8, 2, 2, {0, 0}},
        {"mask with a gap", {16, 0xf100, 0x07e0, 0x001f}, 8, 2, 2, {0, 0}},
        {"mask wider than the pixel", {16, 0x1f800, 0x07e0, 0x001f}, 8, 2, 2, {0, 0}},
        {"rows shorter than the width", kRgb32, 7, 2, 2, {0, 0}},
        {"beyond the image", kRgb32, 16, 4, 2, {1, 0}},
        {"negative placement", kRgb32, 16, 1, 1, {-1, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(convertX11Pixels(src.data(), c.stride, c.width, c.height, c.layout, dst, c.at)) << c.name;
        EXPECT_EQ(dst, before) << c.name;
    }
    QImage argb(4, 4, QImage::Format_ARGB32);
    EXPECT_FALSE(convertX11Pixels(src.data(), 16, 1, 1, kRgb32, argb, QPoint(0, 0)));
}
