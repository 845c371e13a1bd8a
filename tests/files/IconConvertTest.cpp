// Bitmap-to-icon and icon-to-bitmap exchange.
#include "files/IconConvert.h"
#include "files/IcoFile.h"

#include <QBuffer>

#include <gtest/gtest.h>

using namespace px;

namespace {

QImage row(std::initializer_list<QRgb> pixels, QImage::Format format)
{
    QImage image(int(pixels.size()), 1, format);
    int x = 0;
    for (QRgb p : pixels)
        image.setPixel(x++, 0, p);
    return image;
}

std::vector<QRgb> pixelsOf(const QImage& image)
{
    std::vector<QRgb> out;
    for (int x = 0; x < image.width(); ++x)
        out.push_back(image.pixel(x, 0));
    return out;
}

} // namespace

TEST(IconConvert, BitmapToIconMakesTheMaskColourTransparentAndAllElseOpaque)
{
    const QImage bitmap = row({0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF00FF00}, QImage::Format_RGB32);
    // A half-transparent input pixel is made opaque too; the mask colour ignores alpha.
    const QImage withAlpha = row({0x80FF0000, 0x4000FF00, 0x00000000}, QImage::Format_ARGB32);
    const struct {
        QImage bitmap;
        std::optional<QRgb> mask;
        std::vector<QRgb> expected;
    } cases[] = {
        {bitmap, std::nullopt, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF00FF00}},
        {bitmap, QRgb(0xFF00FF00), {0xFFFF0000, 0, 0xFF0000FF, 0}},
        {bitmap, QRgb(0x0000FF00), {0xFFFF0000, 0, 0xFF0000FF, 0}},
        {bitmap, QRgb(0xFF123456), {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF00FF00}},
        {withAlpha, std::nullopt, {0xFFFF0000, 0xFF00FF00, 0xFF000000}},
        {withAlpha, QRgb(0xFF00FF00), {0xFFFF0000, 0, 0xFF000000}},
    };
    for (const auto& c : cases) {
        const QImage icon = BitmapToIcon(c.bitmap, c.mask);
        EXPECT_EQ(icon.format(), QImage::Format_ARGB32);
        EXPECT_EQ(icon.size(), c.bitmap.size());
        EXPECT_EQ(pixelsOf(icon), c.expected) << (c.mask ? *c.mask : 0);
    }
    EXPECT_TRUE(BitmapToIcon(QImage()).isNull());
}

TEST(IconConvert, IconToBitmapDrawsTheIconOnWhite)
{
    const QImage icon = row({0xFF102030, 0x00000000, 0x00FF0000, 0x80000000}, QImage::Format_ARGB32);
    const QImage bitmap = IconToBitmap(icon);
    EXPECT_EQ(bitmap.format(), QImage::Format_RGB32);
    ASSERT_EQ(bitmap.size(), icon.size());
    EXPECT_EQ(bitmap.pixel(0, 0), 0xFF102030u);
    EXPECT_EQ(bitmap.pixel(1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(bitmap.pixel(2, 0), 0xFFFFFFFFu) << "a transparent pixel's colour does not show";
    EXPECT_NEAR(qRed(bitmap.pixel(3, 0)), 127, 1) << "half-transparent black on white is grey";
    EXPECT_EQ(IconToBitmap(row({0xFF0000FF}, QImage::Format_RGB32)).pixel(0, 0), 0xFF0000FFu);
    EXPECT_TRUE(IconToBitmap(QImage()).isNull());
}

TEST(IconConvert, MaskedIconSurvivesTheIconFileAndComesBackWhite)
{
    const QImage bitmap = row({0xFFFF00FF, 0xFF336699, 0xFFFF00FF}, QImage::Format_RGB32);
    QBuffer file;
    file.open(QIODevice::WriteOnly);
    ASSERT_TRUE(WriteIco(BitmapToIcon(bitmap, QRgb(0xFFFF00FF)), file));
    const IcoReadResult back = ReadIco(file.data());
    ASSERT_TRUE(back.error.isEmpty()) << back.error.toStdString();
    EXPECT_EQ(pixelsOf(IconToBitmap(back.image)), (std::vector<QRgb>{0xFFFFFFFF, 0xFF336699, 0xFFFFFFFF}));
}
