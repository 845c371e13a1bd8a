// Bitmap files: what we write is read back by ImageMagick to the same pixels, what
// ImageMagick writes we read to the pixels it reads, and broken files are refused.
#include "BitmapTestSupport.h"
#include "files/BmpFile.h"

#include <QBuffer>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace px;
using namespace px::bmptest;

namespace {

QByteArray encode(const QImage& image, BmpPixelFormat format)
{
    return writtenBytes([&](QIODevice& device, QString* error) { return WriteBmp(image, format, device, error); });
}

quint32 u32At(const QByteArray& b, int at) { return qFromLittleEndian<quint32>(b.constData() + at); }
quint16 u16At(const QByteArray& b, int at) { return qFromLittleEndian<quint16>(b.constData() + at); }


TEST(BmpFile, EveryPixelFormatIsReadBackByImageMagickAndByUs)
{
    struct Case {
        BmpPixelFormat format;
        int bits;
        quint32 compression;
    };
    const Case cases[] = {
        {BmpPixelFormat::Device, 32, 0}, {BmpPixelFormat::Bit1, 1, 0},   {BmpPixelFormat::Bit4, 4, 0},
        {BmpPixelFormat::Bit8, 8, 0},     {BmpPixelFormat::Bit15, 16, 0}, {BmpPixelFormat::Bit16, 16, 3},
        {BmpPixelFormat::Bit24, 24, 0},   {BmpPixelFormat::Bit32, 32, 0},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QImage picture = colourful();
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.format));
        const QByteArray bytes = encode(picture, c.format);
        // Header fields other readers rely on: sizes, bottom-up rows padded to 4 bytes.
        const int stride = (picture.width() * c.bits + 31) / 32 * 4;
        ASSERT_GE(bytes.size(), 54);
        EXPECT_EQ(u32At(bytes, 2), quint32(bytes.size()));
        EXPECT_EQ(u32At(bytes, 10) + quint32(stride * picture.height()), quint32(bytes.size()));
        EXPECT_EQ(u16At(bytes, 28), c.bits);
        EXPECT_EQ(u32At(bytes, 30), c.compression);
        EXPECT_EQ(qint32(u32At(bytes, 22)), picture.height());
        EXPECT_EQ(u32At(bytes, 34), quint32(stride * picture.height()));

        const QImage expected = ConvertToBmpPixelFormat(picture, c.format);
        const QString path = dir.filePath(QString("f%1.bmp").arg(int(c.format)));
        ASSERT_TRUE(writeFile(path, bytes));
        EXPECT_TRUE(samePixels(imageMagickRead(path), expected));

        const BmpReadResult back = ReadBmp(bytes);
        ASSERT_TRUE(back.error.isEmpty()) << back.error.toStdString();
        EXPECT_TRUE(samePixels(back.image, expected));
        const BmpPixelFormat declared = c.format == BmpPixelFormat::Device ? BmpPixelFormat::Bit32 : c.format;
        EXPECT_EQ(back.format, declared);
    }
}

TEST(BmpFile, ReducedFormatsChangeOnlyWhatTheyMust)
{
    const QImage picture = colourful();
    // Pictures with few colours keep them exactly in every palette format that can hold them.
    EXPECT_EQ(ConvertToBmpPixelFormat(flat(2), BmpPixelFormat::Bit1), flat(2));
    EXPECT_EQ(ConvertToBmpPixelFormat(flat(16), BmpPixelFormat::Bit4), flat(16));
    EXPECT_EQ(ConvertToBmpPixelFormat(flat(16), BmpPixelFormat::Bit8), flat(16));
    for (BmpPixelFormat f : {BmpPixelFormat::Device, BmpPixelFormat::Bit24, BmpPixelFormat::Bit32})
        EXPECT_EQ(ConvertToBmpPixelFormat(picture, f), picture);
    // More colours than the palette: at most that many remain, and they stay close.
    for (const auto& [format, limit] : {std::pair{BmpPixelFormat::Bit4, 16}, std::pair{BmpPixelFormat::Bit8, 256}}) {
        const QImage reduced = ConvertToBmpPixelFormat(picture, format);
        QSet<QRgb> colours;
        int worst = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                colours.insert(reduced.pixel(x, y));
                const QRgb a = reduced.pixel(x, y), b = picture.pixel(x, y);
                worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
            }
        EXPECT_LE(colours.size(), limit);
        EXPECT_GT(colours.size(), limit / 2);
        EXPECT_LT(worst, limit == 256 ? 40 : 110);
        EXPECT_EQ(ConvertToBmpPixelFormat(picture, format), reduced) << "deterministic";
    }
    // 15 and 16 bits keep white white and drop the low bits of each component.
    QImage grey(2, 1, QImage::Format_RGB32);
    grey.setPixel(0, 0, qRgb(255, 255, 255));
    grey.setPixel(1, 0, qRgb(0x87, 0x87, 0x87));
    EXPECT_EQ(ConvertToBmpPixelFormat(grey, BmpPixelFormat::Bit15).pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(ConvertToBmpPixelFormat(grey, BmpPixelFormat::Bit15).pixel(1, 0), qRgb(0x84, 0x84, 0x84));
    EXPECT_EQ(ConvertToBmpPixelFormat(grey, BmpPixelFormat::Bit16).pixel(1, 0), qRgb(0x84, 0x86, 0x84));
}

TEST(BmpFile, SaveAsAndAutomaticSaveApplyMonochromeInTheirOwnOrder)
{
    const QImage picture = colourful();
    const QImage bw = ToMonochrome(picture);
    for (int y = 0; y < bw.height(); ++y)
        for (int x = 0; x < bw.width(); ++x)
            ASSERT_TRUE(bw.pixel(x, y) == qRgb(0, 0, 0) || bw.pixel(x, y) == qRgb(255, 255, 255));

    // Save As: pixel format, then monochrome: the result is a 1-bit black and white bitmap.
    BmpBitmap b = ApplyBmpOptions(picture, BmpPixelFormat::Bit24, true, BmpOptionOrder::PixelFormatFirst);
    EXPECT_EQ(b.format, BmpPixelFormat::Bit1);
    EXPECT_EQ(b.image, bw);
    // Automatic save: monochrome, then the pixel format: black and white in 24 bits.
    b = ApplyBmpOptions(picture, BmpPixelFormat::Bit24, true, BmpOptionOrder::MonochromeFirst);
    EXPECT_EQ(b.format, BmpPixelFormat::Bit24);
    EXPECT_EQ(b.image, bw);
    EXPECT_EQ(u16At(encode(b.image, b.format), 28), 24);
    // Without monochrome both orders give the chosen format.
    for (BmpOptionOrder order : {BmpOptionOrder::PixelFormatFirst, BmpOptionOrder::MonochromeFirst}) {
        b = ApplyBmpOptions(picture, BmpPixelFormat::Bit8, false, order);
        EXPECT_EQ(b.format, BmpPixelFormat::Bit8);
        EXPECT_EQ(b.image, ConvertToBmpPixelFormat(picture, BmpPixelFormat::Bit8));
    }
    // A monochrome 1-bit file has the black and white palette.
    const QByteArray file = encode(bw, BmpPixelFormat::Bit1);
    EXPECT_EQ(file.mid(54, 8), QByteArray("\0\0\0\0\xff\xff\xff\0", 8));
}

TEST(BmpFile, OptionValuesOutsideTheRangeMean24Bits)
{
    EXPECT_EQ(BmpPixelFormatFromOption(0), BmpPixelFormat::Device);
    EXPECT_EQ(BmpPixelFormatFromOption(5), BmpPixelFormat::Bit16);
    EXPECT_EQ(BmpPixelFormatFromOption(7), BmpPixelFormat::Bit32);
    EXPECT_EQ(BmpPixelFormatFromOption(8), BmpPixelFormat::Bit24);
    EXPECT_EQ(BmpPixelFormatFromOption(-1), BmpPixelFormat::Bit24);
}

TEST(BmpFile, WriterReportsARefusingDeviceAndANullPicture)
{
    QByteArray bytes;
    QBuffer readOnly(&bytes);
    readOnly.open(QIODevice::ReadOnly);
    QString error;
    EXPECT_FALSE(WriteBmp(colourful(), BmpPixelFormat::Bit24, readOnly, &error));
    EXPECT_FALSE(error.isEmpty());
    error.clear();
    QBuffer ok(&bytes);
    ok.open(QIODevice::WriteOnly);
    EXPECT_FALSE(WriteBmp(QImage(), BmpPixelFormat::Bit24, ok, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(BmpFile, ReadsWhatImageMagickWritesInEveryDepth)
{
    struct Case {
        const char* name;
        QStringList options;  // between the source and the target
        const char* target;   // with its format prefix
        QImage source;
        BmpPixelFormat format;
    };
    const QImage picture = colourful();
    const QImage colours200 = colourful(20, 10);  // as many colours as pixels
    QImage translucent = picture.convertToFormat(QImage::Format_ARGB32);
    for (int x = 0; x < translucent.width(); ++x)
        translucent.setPixel(x, 1, qRgba(x, 2 * x, 3 * x, x * 7));
    const Case cases[] = {
        {"1-bit", {"-type", "bilevel"}, "BMP3:", flat(2), BmpPixelFormat::Bit1},
        {"4-bit", {"-type", "palette"}, "BMP3:", flat(16), BmpPixelFormat::Bit4},
        {"8-bit", {"-type", "palette", "-compress", "None"}, "BMP3:", colours200, BmpPixelFormat::Bit8},
        {"RLE8", {"-type", "palette", "-compress", "RLE"}, "BMP3:", colours200, BmpPixelFormat::Bit8},
        {"RLE8 few colours", {"-type", "palette", "-compress", "RLE"}, "BMP3:", flat(5), BmpPixelFormat::Bit8},
        {"24-bit", {"-type", "truecolor"}, "BMP3:", picture, BmpPixelFormat::Bit24},
        {"OS/2 core header", {"-type", "truecolor"}, "BMP2:", picture, BmpPixelFormat::Bit24},
        {"OS/2 palette", {"-type", "palette"}, "BMP2:", flat(16), BmpPixelFormat::Bit4},
        {"5-6-5 bit fields", {"-define", "bmp:subtype=RGB565"}, "BMP:", picture, BmpPixelFormat::Bit16},
        {"5-5-5 bit fields", {"-define", "bmp:subtype=RGB555"}, "BMP:", picture, BmpPixelFormat::Bit15},
        {"32-bit with alpha (V5 header)", {"-type", "TrueColorAlpha"}, "BMP:", translucent, BmpPixelFormat::Bit32},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString source = dir.filePath(QString("s%1.png").arg(n));
        const QString target = dir.filePath(QString("t%1.bmp").arg(n++));
        ASSERT_TRUE(c.source.save(source, "PNG"));
        const ToolRun made = runTool("convert", QStringList{source} + c.options + QStringList{c.target + target});
        ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const BmpReadResult ours = ReadBmp(f.readAll());
        ASSERT_TRUE(ours.error.isEmpty()) << ours.error.toStdString();
        EXPECT_EQ(ours.format, c.format);
        const QImage theirs = imageMagickRead(target);
        ASSERT_FALSE(theirs.isNull());
        EXPECT_TRUE(samePixels(ours.image, theirs));
    }
}

// Hand-made files for what ImageMagick does not write.
QByteArray bmpFile(const QByteArray& info, const QByteArray& tables, const QByteArray& pixels)
{
    const int offset = 14 + int(info.size() + tables.size());
    Bytes b;
    b.raw("BM").u32(offset + pixels.size()).u32(0).u32(offset);
    return b.raw(info).raw(tables).raw(pixels).data;
}

QByteArray infoHeader(int w, int h, int bits, int compression, int colorsUsed = 0, int size = 40)
{
    Bytes b;
    b.u32(size).u32(w).u32(h).u16(1).u16(bits).u32(compression).u32(0).u32(0).u32(0).u32(colorsUsed).u32(0);
    b.data.append(QByteArray(size - 40, '\0'));
    return b.data;
}

QByteArray greyPalette(int n)
{
    Bytes b;
    for (int i = 0; i < n; ++i)
        b.raw({i * 16, i * 16, i * 16, 0});
    return b.data;
}

QImage rows(int w, std::initializer_list<std::initializer_list<int>> greyLevels)
{
    QImage img(w, int(greyLevels.size()), QImage::Format_RGB32);
    int y = 0;
    for (const auto& row : greyLevels) {
        int x = 0;
        for (int v : row)
            img.setPixel(x++, y, qRgb(v, v, v));
        ++y;
    }
    return img;
}

TEST(BmpFile, ReadsTopDownRowsRleEscapesShortPalettesAndTolerantOffsets)
{
    struct Case {
        const char* name;
        QByteArray file;
        QImage expected;
    };
    const QByteArray rle4 = Bytes()
                                .raw({2, 0x12})           // 1 2
                                .raw({1, 0x10})           // 1
                                .raw({0, 0})              // end of line
                                .raw({0, 3, 0x34, 0x50})  // absolute: 3 4 5, padded
                                .raw({0, 2, 1, 0})        // skip one column
                                .raw({1, 0x60})           // 6
                                .raw({0, 1})
                                .data;
    const Case cases[] = {
        {"top-down 24-bit",
         bmpFile(infoHeader(2, -2, 24, 0), {}, Bytes().raw({0, 0, 0, 16, 16, 16, 0, 0, 32, 32, 32, 48, 48, 48, 0, 0}).data),
         rows(2, {{0, 16}, {32, 48}})},
        {"RLE4 with absolute run, delta and end of bitmap (bottom-up)",
         bmpFile(infoHeader(5, 2, 4, 2), greyPalette(16), rle4), rows(5, {{48, 64, 80, 0, 96}, {16, 32, 16, 0, 0}})},
        {"RLE8 run past the row is cut at the row's end",
         bmpFile(infoHeader(3, 1, 8, 1, 16), greyPalette(16), Bytes().raw({9, 2, 0, 1}).data), rows(3, {{32, 32, 32}})},
        {"RLE8 ending without its end marker", bmpFile(infoHeader(2, 1, 8, 1, 16), greyPalette(16), Bytes().raw({2, 5}).data),
         rows(2, {{80, 80}})},
        {"8-bit with two palette entries; unknown indexes read as black",
         bmpFile(infoHeader(3, 1, 8, 0, 2), greyPalette(2), Bytes().raw({1, 0, 7, 0}).data), rows(3, {{16, 0, 0}})},
        {"last row's padding left out", bmpFile(infoHeader(1, 2, 24, 0), {}, Bytes().raw({16, 16, 16, 0, 32, 32, 32}).data),
         rows(1, {{32}, {16}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const BmpReadResult r = ReadBmp(c.file);
        ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
        EXPECT_TRUE(samePixels(r.image, c.expected));
    }
    // A zero pixel offset field: the pixels follow the colour table.
    QByteArray zeroOffset = bmpFile(infoHeader(1, 1, 8, 0, 2), greyPalette(2), Bytes().raw({1, 0, 0, 0}).data);
    qToLittleEndian(quint32(0), zeroOffset.data() + 10);
    EXPECT_EQ(ReadBmp(zeroOffset).image, rows(1, {{16}}));
    // A table declaring more entries than the depth can index: the pixels still follow all of
    // them (a 1-bit picture with four entries, index 1 is grey 16).
    QByteArray longTable = bmpFile(infoHeader(1, 1, 1, 0, 4), greyPalette(4), Bytes().raw({0x80, 0, 0, 0}).data);
    qToLittleEndian(quint32(0), longTable.data() + 10);
    EXPECT_EQ(ReadBmp(longTable).image, rows(1, {{16}}));
}

TEST(BmpFile, RefusesBrokenFilesWithAReason)
{
    const QByteArray good = encode(colourful(), BmpPixelFormat::Bit8);
    auto patched = [&](int at, quint32 value) {
        QByteArray b = good;
        qToLittleEndian(value, b.data() + at);
        return b;
    };
    struct Case {
        const char* name;
        QByteArray file;
    };
    const Case cases[] = {
        {"empty", {}},
        {"not a bitmap", QByteArray("GIF89a").append(QByteArray(60, '\0'))},
        {"file header only", good.left(14)},
        {"header truncated", good.left(30)},
        {"pixels truncated", good.left(good.size() - 40)},
        {"zero width", patched(18, 0)},
        {"zero height", patched(22, 0)},
        {"negative width", patched(18, 0xFFFFFFF0)},
        {"huge width and height", patched(22, 0x7FFFFFFF)},
        {"height of -2^31", patched(22, 0x80000000)},
        {"unknown bit count", patched(28, 7)},
        {"unknown compression", patched(30, 9)},
        {"RLE8 with 24 bits", bmpFile(infoHeader(2, 1, 24, 1), {}, QByteArray(8, '\0'))},
        {"embedded JPEG", patched(30, 4)},
        {"header size larger than the file", patched(14, 0x10000)},
        {"header size 8", patched(14, 8)},
        {"pixel offset past the end", patched(10, 0x7FFFFFF0)},
        {"colour table missing", bmpFile(infoHeader(2, 1, 8, 0), {}, {})},
        {"RLE absolute run past the end", bmpFile(infoHeader(8, 1, 8, 1, 2), greyPalette(2), Bytes().raw({0, 200, 1, 1}).data)},
        {"RLE delta cut off", bmpFile(infoHeader(8, 1, 8, 1, 2), greyPalette(2), Bytes().raw({0, 2, 1}).data)},
        {"bit-field masks missing", bmpFile(infoHeader(2, 1, 16, 3), {}, {})},
    };
    for (const Case& c : cases) {
        const BmpReadResult r = ReadBmp(c.file);
        EXPECT_FALSE(r.error.isEmpty()) << c.name;
        EXPECT_TRUE(r.image.isNull()) << c.name;
    }
    // The pixel cap is checked before anything is allocated.
    QByteArray big = bmpFile(infoHeader(20000, 20000, 8, 1, 2), greyPalette(2), Bytes().raw({0, 1}).data);
    EXPECT_FALSE(ReadBmp(big, 1000000).error.isEmpty());
}

} // namespace
