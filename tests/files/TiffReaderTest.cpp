// Reading TIFF files: ours, ImageMagick's in its common variants, and broken ones.
#include "files/TiffReader.h"

#include "TiffTestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace px;
using namespace px::tifftest;

namespace {

QImage pattern(int w, int h, int colours)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int i = (x * 3 + y * 7 + x * y) % colours;
            img.setPixel(x, y, qRgb((i * 37) & 255, (i * 91 + 17) & 255, (i * 53 + 101) & 255));
        }
    return img;
}

QImage greys(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int g = (x * 13 + y * 29) & 255;
            img.setPixel(x, y, qRgb(g, g, g));
        }
    return img;
}

QImage blackAndWhite(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, (x / 3 + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    return img;
}

TEST(TiffReader, ReadsEveryLayoutOfOurWriter)
{
    const QImage bw = blackAndWhite(13, 5);
    const QImage sixteen = pattern(11, 7, 16);
    const QImage palette = pattern(31, 9, 200);
    const QImage rgb = pattern(37, 23, 5000);
    struct Case {
        int bits;
        QImage picture;
    };
    for (const Case& c : {Case{1, bw}, Case{4, sixteen}, Case{8, palette}, Case{24, rgb}, Case{32, rgb}}) {
        const TiffReadResult r = ReadTiff(encode(c.picture, c.bits));
        ASSERT_TRUE(r.error.isEmpty()) << c.bits << ": " << r.error.toStdString();
        EXPECT_EQ(r.image.format(), QImage::Format_RGB32);
        EXPECT_EQ(r.image, c.picture) << c.bits;
        EXPECT_EQ(r.bitsPerPixel, c.bits == 32 ? 24 : c.bits);
    }
}

TEST(TiffReader, ReadsImageMagickFilesInTheirCommonVariants)
{
    QTemporaryDir dir;
    struct Case {
        const char* name;
        QImage picture;
        QStringList options;
        const char* tiffinfoShows;  // proves the file is of the kind the case is about
    };
    const QImage colour = pattern(45, 29, 5000);
    const Case cases[] = {
        {"lzw", colour, {"-compress", "LZW"}, "LZW"},
        {"lzw-predictor", colour, {"-compress", "LZW", "-define", "tiff:predictor=2"}, "horizontal differencing"},
        {"deflate", colour, {"-compress", "Zip"}, "Deflate"},
        {"packbits", colour, {"-compress", "RLE"}, "PackBits"},
        {"tiled", colour, {"-compress", "None", "-define", "tiff:tile-geometry=16x16"}, "Tile Width: 16"},
        {"palette", pattern(30, 20, 100), {"-type", "Palette", "-compress", "LZW"}, "palette color"},
        {"grey", greys(33, 17), {"-type", "Grayscale"}, "min-is-black"},
        {"bilevel-fax", blackAndWhite(40, 12), {"-type", "Bilevel", "-compress", "Group4"}, "CCITT Group 4"},
        {"sixteen-bit", colour, {"-depth", "16"}, "Bits/Sample: 16"},
    };
    for (const Case& c : cases) {
        const QString png = dir.filePath(QStringLiteral("%1.png").arg(c.name));
        const QString tif = dir.filePath(QStringLiteral("%1.tif").arg(c.name));
        ASSERT_TRUE(c.picture.save(png, "PNG"));
        const ToolRun made = runTool(QStringLiteral("convert"), QStringList{png} + c.options + QStringList{tif});
        ASSERT_EQ(made.exitCode, 0) << c.name << made.err.toStdString();
        EXPECT_TRUE(runTool(QStringLiteral("tiffinfo"), {tif}).out.contains(c.tiffinfoShows)) << c.name;
        QFile f(tif);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const TiffReadResult r = ReadTiff(f.readAll());
        ASSERT_TRUE(r.error.isEmpty()) << c.name << ": " << r.error.toStdString();
        EXPECT_EQ(r.image.convertToFormat(QImage::Format_RGB32), c.picture) << c.name;
    }
}

TEST(TiffReader, KeepsTheAlphaChannel)
{
    QTemporaryDir dir;
    QImage picture(20, 10, QImage::Format_ARGB32);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            picture.setPixel(x, y, qRgba(x * 12, y * 25, 200, x < 5 ? 255 : x < 10 ? 128 : x < 15 ? 0 : 64));
    const QString png = dir.filePath(QStringLiteral("a.png"));
    const QString tif = dir.filePath(QStringLiteral("a.tif"));
    ASSERT_TRUE(picture.save(png, "PNG"));
    ASSERT_EQ(runTool(QStringLiteral("convert"), {png, QStringLiteral("-compress"), QStringLiteral("LZW"), tif}).exitCode, 0);
    QFile f(tif);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const TiffReadResult r = ReadTiff(f.readAll());
    ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    ASSERT_EQ(r.image.format(), QImage::Format_ARGB32);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) {
            const QRgb want = picture.pixel(x, y), got = r.image.pixel(x, y);
            ASSERT_EQ(qAlpha(got), qAlpha(want)) << x << "," << y;
            if (qAlpha(want) == 0)
                continue;
            // Premultiplied on the way through: colours of translucent pixels round a little.
            const int tolerance = qAlpha(want) == 255 ? 0 : 4;
            EXPECT_LE(qAbs(qRed(got) - qRed(want)), tolerance) << x << "," << y;
            EXPECT_LE(qAbs(qGreen(got) - qGreen(want)), tolerance) << x << "," << y;
            EXPECT_LE(qAbs(qBlue(got) - qBlue(want)), tolerance) << x << "," << y;
        }
}

// Rewrites a directory entry of a file in place.
QByteArray withEntry(QByteArray b, quint16 tag, quint16 type, quint32 count, quint32 value)
{
    const Directory d = readDirectory(b);
    const qint64 at = d.entries.value(tag).position;
    qToLittleEndian<quint16>(type, b.data() + at + 2);
    qToLittleEndian<quint32>(count, b.data() + at + 4);
    qToLittleEndian<quint32>(value, b.data() + at + 8);
    return b;
}

QByteArray withU32(QByteArray b, qint64 at, quint32 value)
{
    qToLittleEndian<quint32>(value, b.data() + at);
    return b;
}

QByteArray withU16(QByteArray b, qint64 at, quint16 value)
{
    qToLittleEndian<quint16>(value, b.data() + at);
    return b;
}

TEST(TiffReader, RefusesBrokenFilesWithAReason)
{
    const QByteArray good = encode(pattern(4, 3, 12), 24);  // strip of 36 bytes at 40, directory at 76
    ASSERT_TRUE(ReadTiff(good).error.isEmpty());
    const quint32 ifd = readDirectory(good).offset;
    struct Case {
        const char* name;
        QByteArray bytes;
        const char* reasonContains;  // empty: any reason
    };
    const Case cases[] = {
        {"empty", QByteArray(), ""},
        {"header only", good.left(8), ""},
        {"cut inside the directory", good.left(int(ifd) + 20), ""},
        {"bad byte order mark", QByteArray("XX") + good.mid(2), ""},
        {"bad magic number", withU16(good, 2, 43), ""},
        {"directory past the end", withU32(good, 4, 0xFFFFFF00u), ""},
        {"directory inside the header", withU32(good, 4, 1), ""},
        {"entry count past the end", withU16(good, ifd, 0xFFFF), ""},
        {"zero width", withEntry(good, 256, 3, 1, 0), ""},
        {"zero height", withEntry(good, 257, 3, 1, 0), ""},
        {"huge width and height", withEntry(withEntry(good, 256, 4, 1, 100000), 257, 4, 1, 100000), "too large"},
        {"strip past the end", withEntry(good, 273, 4, 1, 0xFFFFFF00u), ""},
        {"strip running past the end", withEntry(good, 273, 4, 1, quint32(good.size() - 10)), ""},
        {"unknown compression", withEntry(good, 259, 3, 1, 12345), ""},
        {"odd sample size", withU16(withU16(withU16(good, 24, 3), 26, 3), 28, 3), ""},
        {"no samples", withEntry(good, 277, 3, 1, 0), ""},
        {"sample sizes past the end", withEntry(good, 258, 3, 3, 0xFFFFFFF0u), ""},
        {"LZW claimed for raw data", withEntry(good, 259, 3, 1, 5), ""},
    };
    for (const Case& c : cases) {
        const TiffReadResult r = ReadTiff(c.bytes);
        EXPECT_FALSE(r.error.isEmpty()) << c.name;
        EXPECT_TRUE(r.image.isNull()) << c.name;
        EXPECT_TRUE(r.error.contains(QString::fromUtf8(c.reasonContains))) << c.name << ": " << r.error.toStdString();
    }
}

TEST(TiffReader, CapsThePixelCountBeforeReading)
{
    const QByteArray file = encode(pattern(64, 64, 50), 24);
    const TiffReadResult capped = ReadTiff(file, TiffReadLimits{4095, qint64(1) << 30});
    EXPECT_TRUE(capped.error.contains(QStringLiteral("too large"))) << capped.error.toStdString();
    EXPECT_TRUE(capped.image.isNull());
    EXPECT_TRUE(ReadTiff(file, TiffReadLimits{4096, qint64(1) << 30}).error.isEmpty());
}

TEST(TiffReader, ADirectoryPointingToItselfStillGivesTheFirstImage)
{
    const QImage picture = pattern(6, 5, 30);
    QByteArray b = encode(picture, 24);
    const Directory d = readDirectory(b);
    b = withU32(b, qint64(d.offset) + 2 + qint64(d.tags.size()) * 12, d.offset);
    const TiffReadResult r = ReadTiff(b);
    ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    EXPECT_EQ(r.image, picture);
}

} // namespace
