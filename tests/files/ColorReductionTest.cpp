// Colour reduction: the fixed palettes, our quantiser and the two ways of mapping pixels.
#include "files/ColorReduction.h"

#include <QImage>
#include <QSet>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

using namespace px;

namespace {

// A smooth two-dimensional gradient: 65536 colours, far more than a palette holds.
QImage gradient()
{
    QImage img(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            img.setPixel(x, y, qRgb(x, y, 128));
    return img;
}

QRgb mapped(const QImage& indexed, int x, int y)
{
    return indexed.colorTable().at(indexed.pixelIndex(x, y));
}

TEST(ColorReduction, None_KeepsExactColoursOfAPictureWithAtMost256)
{
    // 256 colours scattered over the picture, two of them a single blue step apart.
    QImage img(53, 29, QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const int i = (x * 7 + y * 71) % 255;
            img.setPixel(x, y, qRgba(i, 255 - i, i == 0 ? 1 : (i * 37) & 255, (x * 9) & 255));
        }
    img.setPixel(0, 0, qRgba(0, 255, 1, 255));
    img.setPixel(1, 0, qRgba(0, 255, 2, 255));
    for (const DitherMode dither : {DitherMode::Nearest, DitherMode::ErrorDiffusion}) {
        const QImage indexed = ReduceColors(img, ColorReduction::None, dither);
        ASSERT_EQ(indexed.format(), QImage::Format_Indexed8);
        EXPECT_EQ(indexed.colorCount(), 256);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                ASSERT_EQ(mapped(indexed, x, y), img.pixel(x, y) | 0xff000000u) << x << "," << y;
    }
}

TEST(ColorReduction, None_QuantisesManyColoursTo256Deterministically)
{
    const QImage img = gradient();
    const QImage first = ReduceColors(img, ColorReduction::None, DitherMode::Nearest);
    ASSERT_FALSE(first.isNull());
    EXPECT_LE(first.colorCount(), 256);
    EXPECT_GT(first.colorCount(), 200);  // the palette is used, not collapsed
    EXPECT_EQ(ReduceColors(img, ColorReduction::None, DitherMode::Nearest), first);

    double error = 0;
    int worst = 0;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const QRgb got = mapped(first, x, y);
            const int e = std::abs(qRed(got) - x) + std::abs(qGreen(got) - y) + std::abs(qBlue(got) - 128);
            error += e;
            worst = std::max(worst, e);
        }
    // 256 colours over a 256x256 plane: cells of about 16x16, so a few steps off on average.
    EXPECT_LT(error / 65536.0, 10.0);
    EXPECT_LT(worst, 40);
}

TEST(ColorReduction, MedianCut_FindsSeparateColoursExactly)
{
    const QList<QRgb> colours = {qRgb(10, 20, 30), qRgb(200, 20, 30), qRgb(10, 220, 30), qRgb(250, 250, 250)};
    QImage img(40, 10, QImage::Format_RGB32);
    for (int x = 0; x < 40; ++x)
        for (int y = 0; y < 10; ++y)
            img.setPixel(x, y, colours[x / 10]);
    QList<QRgb> palette = MedianCutPalette(img, 4);
    std::sort(palette.begin(), palette.end());
    QList<QRgb> expected = colours;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(palette, expected);
    EXPECT_EQ(MedianCutPalette(img, 2).size(), 2);
}

TEST(ColorReduction, FixedReductions_MapToTheNearestPaletteColour)
{
    struct Case {
        ColorReduction reduction;
        int paletteSize;
        QRgb in, out;
    };
    const Case cases[] = {
        {ColorReduction::WindowsSystem, 20, qRgb(250, 5, 5), qRgb(255, 0, 0)},
        {ColorReduction::WindowsSystem, 20, qRgb(170, 200, 235), qRgb(166, 202, 240)},
        {ColorReduction::WindowsHalftone, 256, qRgb(0, 51, 102), qRgb(0, 51, 102)},
        {ColorReduction::WindowsHalftone, 256, qRgb(190, 221, 190), qRgb(192, 220, 192)},
        {ColorReduction::WindowsGray, 4, qRgb(100, 100, 100), qRgb(128, 128, 128)},
        {ColorReduction::WindowsGray, 4, qRgb(0, 0, 255), qRgb(0, 0, 0)},  // dark by luminance
        {ColorReduction::Monochrome, 2, qRgb(90, 90, 90), qRgb(0, 0, 0)},
        {ColorReduction::Monochrome, 2, qRgb(200, 180, 190), qRgb(255, 255, 255)},
        {ColorReduction::Grayscale, 256, qRgb(255, 0, 0), qRgb(qGray(255, 0, 0), qGray(255, 0, 0), qGray(255, 0, 0))},
        {ColorReduction::Netscape, 216, qRgb(20, 40, 220), qRgb(0, 51, 204)},
    };
    for (const Case& c : cases) {
        const QList<QRgb> palette = FixedPalette(c.reduction);
        EXPECT_EQ(palette.size(), c.paletteSize) << int(c.reduction);
        EXPECT_EQ(QSet<QRgb>(palette.begin(), palette.end()).size(), c.paletteSize) << "duplicate entries";
        QImage img(3, 2, QImage::Format_RGB32);
        img.fill(c.in);
        const QImage indexed = ReduceColors(img, c.reduction, DitherMode::Nearest);
        ASSERT_EQ(indexed.colorTable(), palette);
        EXPECT_EQ(mapped(indexed, 2, 1), c.out) << int(c.reduction) << " " << std::hex << c.in;
    }
}

TEST(ColorReduction, Settings_UnknownValuesMeanNoReduction)
{
    EXPECT_EQ(ColorReductionFromSetting(6), ColorReduction::Netscape);
    EXPECT_EQ(ColorReductionFromSetting(1), ColorReduction::WindowsSystem);
    EXPECT_EQ(ColorReductionFromSetting(7), ColorReduction::None);
    EXPECT_EQ(ColorReductionFromSetting(-1), ColorReduction::None);
    EXPECT_EQ(DitherModeFromSetting(0), DitherMode::Nearest);
    EXPECT_EQ(DitherModeFromSetting(2), DitherMode::ErrorDiffusion);
}

TEST(ColorReduction, ErrorDiffusion_ChangesPixelsButKeepsThePalette)
{
    // A grey ramp in black and white: nearest colour cuts it in two halves, error diffusion
    // mixes black and white so that every column keeps about its brightness.
    QImage ramp(256, 64, QImage::Format_RGB32);
    for (int y = 0; y < ramp.height(); ++y)
        for (int x = 0; x < 256; ++x)
            ramp.setPixel(x, y, qRgb(x, x, x));
    const QImage nearest = ReduceColors(ramp, ColorReduction::Monochrome, DitherMode::Nearest);
    const QImage diffused = ReduceColors(ramp, ColorReduction::Monochrome, DitherMode::ErrorDiffusion);
    EXPECT_EQ(diffused.colorTable(), nearest.colorTable());
    EXPECT_NE(diffused, nearest);

    auto columnError = [&](const QImage& indexed) {
        double total = 0;
        for (int x = 0; x < 256; ++x) {
            double sum = 0;
            for (int y = 0; y < indexed.height(); ++y)
                sum += qRed(mapped(indexed, x, y));
            total += std::abs(sum / indexed.height() - x);
        }
        return total / 256;
    };
    EXPECT_GT(columnError(nearest), 50);
    EXPECT_LT(columnError(diffused), 12);
}

TEST(ColorReduction, NullPictureOrEmptyPaletteGivesNullResult)
{
    EXPECT_TRUE(ReduceColors(QImage(), ColorReduction::None, DitherMode::Nearest).isNull());
    EXPECT_TRUE(MapToPalette(gradient(), {}, DitherMode::ErrorDiffusion).isNull());
}

} // namespace
