// Reading PNG files through libpng: every colour type gives the pixels Qt's own reader gives.
#include "files/PngReader.h"

#include <QBuffer>

#include <gtest/gtest.h>

using namespace px;

namespace {

QImage sample(QImage::Format format, bool alpha = false)
{
    QImage image(23, 11, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgba(x * 11, y * 23, (x * y) & 255, x % 3 || !alpha ? 255 : 40 * y % 256));
    // An opaque sample starts from an opaque format, so that no writer adds a transparency chunk.
    return (alpha ? image : image.convertToFormat(QImage::Format_RGB32)).convertToFormat(format);
}

QByteArray pngOf(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "PNG"));
    return bytes;
}

PngReadResult read(const QByteArray& bytes, qint64 maxPixels = qint64(1) << 28)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return ReadPng(buffer, maxPixels);
}

} // namespace

TEST(PngReader, EveryColourTypeReadsAsQtReadsIt)
{
    const struct { QImage::Format format; bool alpha; } cases[] = {
        {QImage::Format_RGB32, false},   {QImage::Format_ARGB32, true},    {QImage::Format_Grayscale8, false},
        {QImage::Format_Grayscale16, false}, {QImage::Format_RGBA64, true}, {QImage::Format_Mono, false},
        {QImage::Format_Indexed8, false}, {QImage::Format_Indexed8, true},
    };
    for (const auto& c : cases) {
        const QByteArray bytes = pngOf(sample(c.format, c.alpha));
        const PngReadResult r = read(bytes);
        ASSERT_TRUE(r.error.isEmpty()) << c.format << ": " << r.error.toStdString();
        EXPECT_EQ(r.image.format(), c.alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32) << c.format;
        const QImage expected = QImage::fromData(bytes, "PNG").convertToFormat(r.image.format());
        EXPECT_EQ(r.image, expected) << c.format;
    }
}

TEST(PngReader, DamagedOrOversizedFilesGiveAnError)
{
    const QByteArray good = pngOf(sample(QImage::Format_RGB32));
    QByteArray badCrc = good;
    badCrc[good.indexOf("IDAT") + 10] = char(badCrc[good.indexOf("IDAT") + 10] ^ 0x55);
    const struct { QByteArray bytes; qint64 maxPixels; } cases[] = {
        {QByteArray(), 1 << 20},
        {QByteArray("not a png at all"), 1 << 20},
        {good.left(good.size() / 2), 1 << 20},
        {good.left(40), 1 << 20},
        {badCrc, 1 << 20},
        {good, 23 * 11 - 1},
    };
    for (const auto& c : cases) {
        const PngReadResult r = read(c.bytes, c.maxPixels);
        EXPECT_TRUE(r.image.isNull()) << c.bytes.size();
        EXPECT_FALSE(r.error.isEmpty()) << c.bytes.size();
    }
}
