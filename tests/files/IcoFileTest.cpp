// Icon files: ours are read by ImageMagick as the picture, ImageMagick's multi-size icons
// are read entry by entry, masks make pixels transparent, and broken directories are safe.
#include "BitmapTestSupport.h"
#include "files/IcoFile.h"

#include <QBuffer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace px;
using namespace px::bmptest;

namespace {

QByteArray encode(const QImage& image)
{
    return writtenBytes([&](QIODevice& device, QString* error) { return WriteIco(image, device, error); });
}

TEST(IcoFile, OneIconOfThePicturesOwnSizeIsReadByImageMagick)
{
    QImage translucent = colourful(20, 9).convertToFormat(QImage::Format_ARGB32);
    for (int x = 0; x < translucent.width(); ++x)
        translucent.setPixel(x, 4, qRgba(200, 100, 50, x * 13));
    struct Case {
        const char* name;
        QImage picture;
        int directoryWidth, directoryHeight;
    };
    const Case cases[] = {
        {"opaque", colourful(), 37, 23},
        {"with alpha", translucent, 20, 9},
        {"256, entered as 0", colourful(256, 256), 0, 0},
        {"larger than 256: a PNG entry with the true size", colourful(300, 200), 0, 200},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray bytes = encode(c.picture);
        ASSERT_GE(bytes.size(), 62);
        EXPECT_EQ(bytes.left(6), QByteArray("\0\0\1\0\1\0", 6));
        EXPECT_EQ(uchar(bytes[6]), c.directoryWidth);
        EXPECT_EQ(uchar(bytes[7]), c.directoryHeight);
        EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 14) + 22, quint32(bytes.size()));
        const QString path = dir.filePath(QString("%1.ico").arg(c.picture.width()));
        ASSERT_TRUE(writeFile(path, bytes));
        EXPECT_TRUE(samePixels(imageMagickRead(path), c.picture));

        const IcoReadResult back = ReadIco(bytes);
        ASSERT_TRUE(back.error.isEmpty()) << back.error.toStdString();
        EXPECT_EQ(back.images.size(), 1);
        EXPECT_EQ(back.image.hasAlphaChannel(), c.picture.hasAlphaChannel());
        EXPECT_TRUE(samePixels(back.image, c.picture));
    }
}

TEST(IcoFile, ReadsEveryImageOfAnImageMagickIconAndChoosesTheLargest)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage source = colourful(64, 64).convertToFormat(QImage::Format_ARGB32);
    for (int x = 0; x < 64; ++x)
        source.setPixel(x, 0, qRgba(0, 0, 0, 0));
    const QString png = dir.filePath("s.png"), ico = dir.filePath("m.ico");
    ASSERT_TRUE(source.save(png, "PNG"));
    // ImageMagick stores the 256 size as PNG and the others as bitmaps.
    const ToolRun made = runTool("convert", {png, "-define", "icon:auto-resize=16,256,48", ico});
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    QFile f(ico);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const IcoReadResult r = ReadIco(f.readAll());
    ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    ASSERT_EQ(r.images.size(), 3);
    EXPECT_EQ(r.chosen, 1);
    EXPECT_EQ(r.image.size(), QSize(256, 256));
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(samePixels(r.images[i], imageMagickRead(QString("%1[%2]").arg(ico).arg(i)))) << i;
}

// A hand-made icon: directory entries as given, then the images.
QByteArray iconFile(int type, const QList<QPair<qint64, qint64>>& entries, const QByteArray& images)
{
    Bytes b;
    b.u16(0).u16(type).u16(int(entries.size()));
    for (const auto& [length, offset] : entries)
        b.raw({0, 0, 0, 0}).u16(1).u16(32).u32(length).u32(offset);
    return b.raw(images).data;
}

// A 2x2 icon of 1 bit: colour rows white/black, and an AND mask hiding the top-left pixel.
QByteArray oneBitImage()
{
    Bytes b;
    b.u32(40).u32(2).u32(4).u16(1).u16(1).u32(0).u32(0).u32(0).u32(0).u32(0).u32(0);
    b.raw({0, 0, 0, 0, 255, 255, 255, 0});  // palette: black, white
    b.raw({0x40, 0, 0, 0, 0x80, 0, 0, 0});  // bottom row: black white; top row: white black
    b.raw({0, 0, 0, 0, 0x80, 0, 0, 0});     // mask: bottom row none; top row: left pixel
    return b.data;
}

TEST(IcoFile, AndMaskHidesPixelsAndBadEntriesAreSkipped)
{
    const QByteArray image = oneBitImage();
    QImage expected(2, 2, QImage::Format_ARGB32);
    expected.setPixel(0, 0, qRgba(255, 255, 255, 0));
    expected.setPixel(1, 0, qRgb(0, 0, 0));
    expected.setPixel(0, 1, qRgb(0, 0, 0));
    expected.setPixel(1, 1, qRgb(255, 255, 255));

    const IcoReadResult plain = ReadIco(iconFile(1, {{image.size(), 22}}, image));
    ASSERT_TRUE(plain.error.isEmpty()) << plain.error.toStdString();
    EXPECT_TRUE(samePixels(plain.image, expected));

    // Entries pointing past the end, into the directory, or with no length are left out;
    // a length running past the end is cut. The good image is still found.
    const QByteArray mixed = iconFile(2, {{40, 0x7FFFFFF0}, {image.size(), 3}, {0, 70}, {0x7FFFFFFF, 70}}, image);
    const IcoReadResult r = ReadIco(mixed);
    ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    EXPECT_EQ(r.images.size(), 1);
    EXPECT_TRUE(samePixels(r.image, expected));

    // A 32-bit image whose alpha is all zero is drawn by its mask, not left invisible.
    QByteArray zeroAlpha = encode(colourful(8, 2));
    for (int i = 22 + 40 + 3; i < 22 + 40 + 8 * 2 * 4; i += 4)
        zeroAlpha[i] = 0;
    zeroAlpha[22 + 40 + 8 * 2 * 4 + 4] = char(0x80);  // mask: top row, first pixel
    QImage masked = colourful(8, 2).convertToFormat(QImage::Format_ARGB32);
    masked.setPixel(0, 0, masked.pixel(0, 0) & 0x00FFFFFFu);
    EXPECT_TRUE(samePixels(ReadIco(zeroAlpha).image, masked));
}

TEST(IcoFile, RefusesBrokenFilesWithAReason)
{
    const QByteArray image = oneBitImage();
    QByteArray pngHuge("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\x7f\xff\xff\xff\x7f\xff\xff\xff\x08\x06\0\0\0", 33);
    QByteArray pngGarbage("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x10\0\0\0\x10\x08\x06\0\0\0garbage", 40);
    struct Case {
        const char* name;
        QByteArray file;
    };
    const Case cases[] = {
        {"empty", {}},
        {"reserved field set", QByteArray("\1\0\1\0\1\0", 6) + QByteArray(16, '\0')},
        {"unknown type", iconFile(3, {{image.size(), 22}}, image)},
        {"no entries", iconFile(1, {}, image)},
        {"directory cut off", iconFile(1, {{image.size(), 22}}, image).left(15)},
        {"only entry outside the file", iconFile(1, {{image.size(), 9999}}, image)},
        {"image truncated", iconFile(1, {{image.size(), 22}}, image.left(30))},
        {"colour rows truncated", iconFile(1, {{image.size(), 22}}, image.left(50))},
        {"PNG of a huge size", iconFile(1, {{pngHuge.size(), 22}}, pngHuge)},
        {"PNG data broken", iconFile(1, {{pngGarbage.size(), 22}}, pngGarbage)},
    };
    for (const Case& c : cases) {
        const IcoReadResult r = ReadIco(c.file);
        EXPECT_FALSE(r.error.isEmpty()) << c.name;
        EXPECT_TRUE(r.image.isNull()) << c.name;
        EXPECT_TRUE(r.images.isEmpty()) << c.name;
    }
}

TEST(IcoFile, WriterReportsARefusingDevice)
{
    QByteArray bytes;
    QBuffer readOnly(&bytes);
    readOnly.open(QIODevice::ReadOnly);
    QString error;
    EXPECT_FALSE(WriteIco(colourful(), readOnly, &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
