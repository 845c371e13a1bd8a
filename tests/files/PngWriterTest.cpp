// PNG files written by our encoder read back pixel for pixel.
#include "files/PngWriter.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

using namespace px;

namespace {

QImage sample(QImage::Format format)
{
    QImage img(37, 23, format);  // odd sizes catch row-stride mistakes
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qRgba(x * 7, y * 11, (x * y) & 255, format == QImage::Format_ARGB32 ? (x * 5) & 255 : 255));
    return img;
}

TEST(PngWriter, RoundTripsColourAndAlpha)
{
    struct Case {
        QImage::Format format;
        bool alpha;
        QImage::Format readAs;
    };
    for (const Case c : {Case{QImage::Format_RGB32, false, QImage::Format_RGB32},
                         Case{QImage::Format_ARGB32, true, QImage::Format_ARGB32},
                         Case{QImage::Format_RGB888, false, QImage::Format_RGB32}}) {
        const QImage img = sample(c.format);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QString error;
        ASSERT_TRUE(WritePng(img, buffer, PngOptions{6, c.alpha}, &error)) << error.toStdString();
        ASSERT_TRUE(bytes.startsWith("\x89PNG\r\n\x1a\n"));
        QImage back;
        ASSERT_TRUE(back.loadFromData(bytes, "PNG"));
        EXPECT_EQ(back.hasAlphaChannel(), c.alpha);
        EXPECT_EQ(back.convertToFormat(c.readAs), img.convertToFormat(c.readAs)) << int(c.format);
    }
}

TEST(PngWriter, ReportsADeviceThatRefusesToWrite)
{
    QByteArray bytes;
    QBuffer readOnly(&bytes);
    readOnly.open(QIODevice::ReadOnly);
    QString error;
    EXPECT_FALSE(WritePng(sample(QImage::Format_RGB32), readOnly, {}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(WritePng(QImage(), readOnly, {}, &error));
}

} // namespace
