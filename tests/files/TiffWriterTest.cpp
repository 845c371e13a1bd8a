// TIFF files from our writer: the fixed byte layouts, and libtiff and tiffinfo reading every
// pixel format back to the pictures' pixels.
#include "TiffTestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <tiffio.h>

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>

using namespace px;
using namespace px::tifftest;

namespace {

QStringList libtiffMessages;

void recordMessage(const char* module, const char* format, va_list args)
{
    char text[512];
    std::vsnprintf(text, sizeof text, format, args);
    libtiffMessages.append(QString::fromUtf8(module ? module : "") + QStringLiteral(": ") + QString::fromUtf8(text));
}

// What libtiff itself (not our reader) makes of a file, with every message it raised.
QImage readWithLibtiff(const QString& path, QStringList* messages)
{
    libtiffMessages.clear();
    TIFFSetErrorHandler(recordMessage);
    TIFFSetWarningHandler(recordMessage);
    QImage image;
    if (TIFF* tif = TIFFOpen(QFile::encodeName(path).constData(), "r")) {
        uint32_t w = 0, h = 0;
        TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
        TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
        QImage raster(int(w), int(h), QImage::Format_RGBA8888);
        if (!raster.isNull()
            && TIFFReadRGBAImageOriented(tif, w, h, reinterpret_cast<uint32_t*>(raster.bits()), ORIENTATION_TOPLEFT, 1))
            image = raster.convertToFormat(QImage::Format_RGB32);
        TIFFClose(tif);
    }
    *messages = libtiffMessages;
    return image;
}

// The software text is stored as its 10 characters without a closing zero, as files of
// earlier versions have it; libtiff reads it whole and says so in a warning. Any other
// message is a fault of ours.
QStringList withoutSoftwareWarning(QStringList messages)
{
    messages.removeIf([](const QString& m) {
        return m.contains(QStringLiteral("ASCII value for tag \"Software\" does not end in null byte"));
    });
    return messages;
}

// Colourful, odd-sized, with more than 256 colours.
QImage gradient(int w = 37, int h = 23)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x * 7 & 255, y * 11 & 255, (x * y + 3) & 255));
    return img;
}

// A picture drawn from the given colours only.
QImage fromColours(const QList<QRgb>& colours, int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, colours[(x + 3 * y) % colours.size()]);
    return img;
}

const QList<QRgb> kStandard16 = {
    qRgb(0, 0, 0), qRgb(128, 0, 0), qRgb(0, 128, 0), qRgb(128, 128, 0), qRgb(0, 0, 128), qRgb(128, 0, 128),
    qRgb(0, 128, 128), qRgb(192, 192, 192), qRgb(128, 128, 128), qRgb(255, 0, 0), qRgb(0, 255, 0),
    qRgb(255, 255, 0), qRgb(0, 0, 255), qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};

QList<QRgb> someColours(int count)
{
    QList<QRgb> colours;
    for (int i = 0; i < count; ++i)
        colours.append(qRgb((i * 37) & 255, (i * 91 + 17) & 255, (i * 53 + 101) & 255));
    return colours;
}

QImage thresholded(const QImage& img)
{
    QImage out(img.size(), QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            out.setPixel(x, y, qGray(img.pixel(x, y)) >= 128 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    return out;
}

class TiffWriterFiles : public ::testing::Test {
protected:
    QString save(const QByteArray& bytes, const QString& name)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QTemporaryDir dir;
};

TEST_F(TiffWriterFiles, EveryPixelFormatIsAcceptedByTiffinfoAndReadsBackThroughLibtiff)
{
    struct Case {
        int bits;
        QImage picture;
        QImage expected;  // what the file must hold
    };
    const QImage many = gradient();
    const QImage grey = fromColours({qRgb(0, 0, 0), qRgb(127, 127, 127), qRgb(128, 128, 128), qRgb(250, 10, 10),
                                     qRgb(10, 250, 10), qRgb(255, 255, 255)},
                                    13, 5);
    const QImage sixteen = fromColours(someColours(16), 11, 7);
    const QImage twoHundred = fromColours(someColours(200), 31, 17);
    const Case cases[] = {
        {1, grey, thresholded(grey)},
        {1, fromColours({qRgb(0, 0, 0), qRgb(255, 255, 255)}, 9, 4), fromColours({qRgb(0, 0, 0), qRgb(255, 255, 255)}, 9, 4)},
        {4, sixteen, sixteen},
        {8, twoHundred, twoHundred},
        {8, sixteen, sixteen},
        {15, many, many},
        {16, many, many},
        {24, many, many},
        {32, many, many},
        {0, many, many},
    };
    for (const Case& c : cases) {
        const QString path = save(encode(c.picture, c.bits), QStringLiteral("p%1.tif").arg(c.bits));
        const ToolRun info = runTool(QStringLiteral("tiffinfo"), {path});
        EXPECT_EQ(info.exitCode, 0) << c.bits;
        EXPECT_EQ(withoutSoftwareWarning(QString::fromUtf8(info.err).split('\n', Qt::SkipEmptyParts)), QStringList())
            << c.bits;
        EXPECT_TRUE(info.out.contains("Tarvel sys")) << info.out.toStdString();
        QStringList messages;
        const QImage back = readWithLibtiff(path, &messages);
        EXPECT_EQ(withoutSoftwareWarning(messages), QStringList()) << c.bits;
        EXPECT_EQ(back, c.expected) << c.bits << " bits";
    }
}

TEST_F(TiffWriterFiles, ReducedPalettesHoldOnlyTheirColours)
{
    // More than 16 colours in 4 bits: the standard 16, and off-colours go to the nearest one.
    QList<QRgb> colours = kStandard16;
    colours << qRgb(250, 5, 5) << qRgb(5, 5, 120) << qRgb(200, 190, 195) << qRgb(250, 250, 240);
    const QImage picture = fromColours(colours, 21, 6);
    QStringList messages;
    const QImage back4 = readWithLibtiff(save(encode(picture, 4), QStringLiteral("four.tif")), &messages);
    ASSERT_EQ(back4.size(), picture.size());
    const QRgb nearest[] = {qRgb(255, 0, 0), qRgb(0, 0, 128), qRgb(192, 192, 192), qRgb(255, 255, 255)};
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const int i = (x + 3 * y) % colours.size();
            EXPECT_EQ(back4.pixel(x, y), i < 16 ? colours[i] : nearest[i - 16]) << x << "," << y;
        }

    // More than 256 colours in 8 bits: a reduction, each pixel close to its original.
    const QImage many = gradient(64, 40);
    const QImage back8 = readWithLibtiff(save(encode(many, 8), QStringLiteral("eight.tif")), &messages);
    ASSERT_EQ(back8.size(), many.size());
    for (int y = 0; y < many.height(); ++y)
        for (int x = 0; x < many.width(); ++x) {
            const QRgb a = many.pixel(x, y), b = back8.pixel(x, y);
            ASSERT_LE(qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b)), 3 * 26)
                << x << "," << y;
        }
}

TEST_F(TiffWriterFiles, WidthsBeyondAShortAreStoredAsLong)
{
    const QImage wide = gradient(70000, 2);
    const QByteArray bytes = encode(wide, 24);
    const Directory d = readDirectory(bytes);
    EXPECT_EQ(d.entries.value(256).type, 4);
    EXPECT_EQ(d.entries.value(256).value, 70000u);
    const QString path = save(bytes, QStringLiteral("wide.tif"));
    EXPECT_EQ(runTool(QStringLiteral("tiffinfo"), {path}).exitCode, 0);
    QStringList messages;
    EXPECT_EQ(readWithLibtiff(path, &messages), wide);
}

TEST(TiffWriterLayout, BilevelStripFollowsTheHeaderAndPrecedesResolutionsAndSoftware)
{
    // One pixel wide: one byte per row, the pixel in the top bit.
    QImage column(1, 3, QImage::Format_RGB32);
    column.setPixel(0, 0, qRgb(255, 255, 255));
    column.setPixel(0, 1, qRgb(0, 0, 0));
    column.setPixel(0, 2, qRgb(200, 200, 200));
    const QByteArray b = encode(column, 1);
    ASSERT_EQ(b.left(4), QByteArray("II*\0", 4));
    EXPECT_EQ(b.mid(8, 3), QByteArray("\x80\x00\x80", 3));
    EXPECT_EQ(u32At(b, 11), 877u);
    EXPECT_EQ(u32At(b, 15), 10u);
    EXPECT_EQ(u32At(b, 19), 877u);
    EXPECT_EQ(u32At(b, 23), 10u);
    EXPECT_EQ(b.mid(27, 10), QByteArray("Tarvel sys"));
    const Directory d = readDirectory(b);
    EXPECT_EQ(d.offset, 37u);
    EXPECT_EQ(b.size(), 37 + 2 + 14 * 12 + 4);
    EXPECT_EQ(d.tags, (QList<quint16>{254, 256, 257, 258, 259, 262, 273, 277, 278, 279, 282, 283, 296, 305}));
    struct Want {
        quint16 tag, type;
        quint32 count, value;
    };
    for (const Want w : {Want{254, 4, 1, 0}, Want{256, 3, 1, 1}, Want{257, 3, 1, 3}, Want{258, 3, 1, 1},
                         Want{259, 3, 1, 1}, Want{262, 3, 1, 1}, Want{273, 4, 1, 8}, Want{277, 3, 1, 1},
                         Want{278, 4, 1, 3}, Want{279, 4, 1, 3}, Want{282, 5, 1, 11}, Want{283, 5, 1, 19},
                         Want{296, 3, 1, 2}, Want{305, 2, 10, 27}}) {
        const Entry e = d.entries.value(w.tag);
        EXPECT_EQ(e.type, w.type) << w.tag;
        EXPECT_EQ(e.count, w.count) << w.tag;
        EXPECT_EQ(e.value, w.value) << w.tag;
    }
    EXPECT_EQ(d.next, 0u);
}

TEST(TiffWriterLayout, PaletteFileCarriesColourMapFirstAndKeepsEveryColumnOfOddWidths)
{
    // Eleven pixels wide in 4 bits: six bytes per row, all eleven columns (not rounded down to 8).
    const QList<QRgb> colours = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
    const QImage picture = fromColours(colours, 11, 2);
    const QByteArray b = encode(picture, 4);
    const Directory d = readDirectory(b);
    EXPECT_EQ(d.tags, (QList<quint16>{254, 256, 257, 258, 259, 262, 273, 277, 278, 279, 282, 283, 296, 305, 320}));
    EXPECT_EQ(d.entries.value(256).value, 11u);
    EXPECT_EQ(d.entries.value(258).value, 4u);
    EXPECT_EQ(d.entries.value(262).value, 3u);
    EXPECT_EQ(d.entries.value(279).value, 12u);  // 6 bytes x 2 rows
    EXPECT_EQ(d.entries.value(320).count, 48u);
    EXPECT_EQ(d.entries.value(320).value, 8u);
    const quint32 xres = 8 + 96;
    EXPECT_EQ(d.entries.value(282).value, xres);
    EXPECT_EQ(d.entries.value(283).value, xres + 8);
    EXPECT_EQ(d.entries.value(305).value, xres + 16);
    EXPECT_EQ(b.mid(xres + 16, 10), QByteArray("Tarvel sys"));
    const quint32 strip = xres + 26;
    EXPECT_EQ(d.entries.value(273).value, strip);
    EXPECT_EQ(d.offset, strip + 12);
    // Each map entry is the component times 256, red array, then green, then blue; the strip's
    // nibbles index that map, the left pixel in the high nibble.
    for (quint32 x = 0; x < 11; ++x) {
        const uchar byte = uchar(b[qsizetype(strip + x / 2)]);
        const int index = x % 2 ? byte & 0x0F : byte >> 4;
        const QRgb want = colours[x % 3];
        EXPECT_EQ(u16At(b, 8 + 2 * index), quint16(qRed(want) << 8)) << x;
        EXPECT_EQ(u16At(b, 8 + 32 + 2 * index), quint16(qGreen(want) << 8)) << x;
        EXPECT_EQ(u16At(b, 8 + 64 + 2 * index), quint16(qBlue(want) << 8)) << x;
    }
}

TEST(TiffWriterLayout, RgbFileHasSampleSizesBeforeSoftwareAndTheStripAt40)
{
    const QImage picture = gradient(5, 3);
    const QByteArray b = encode(picture, 24);
    const Directory d = readDirectory(b);
    EXPECT_EQ(d.tags, (QList<quint16>{254, 256, 257, 258, 259, 262, 273, 277, 278, 279, 282, 283, 284, 296, 305}));
    EXPECT_EQ(d.entries.value(258).count, 3u);
    EXPECT_EQ(d.entries.value(258).value, 24u);
    EXPECT_EQ(b.mid(24, 6), QByteArray("\x08\x00\x08\x00\x08\x00", 6));
    EXPECT_EQ(b.mid(30, 10), QByteArray("Tarvel sys"));
    EXPECT_EQ(d.entries.value(282).value, 8u);
    EXPECT_EQ(d.entries.value(283).value, 16u);
    EXPECT_EQ(d.entries.value(273).value, 40u);
    EXPECT_EQ(d.entries.value(279).value, 45u);
    EXPECT_EQ(d.entries.value(284).value, 1u);
    EXPECT_EQ(d.offset, 85u);
    EXPECT_EQ(b.mid(40, 3), QByteArray(1, char(qRed(picture.pixel(0, 0)))) + char(qGreen(picture.pixel(0, 0)))
                                + char(qBlue(picture.pixel(0, 0))));
}

TEST(TiffWriterLayout, ThirtyTwoFifteenSixteenAndDeviceBitsGiveTheTwentyFourBitFile)
{
    QImage picture = gradient();
    const QByteArray rgb = encode(picture, 24);
    for (int bits : {32, 15, 16, 0})
        EXPECT_EQ(encode(picture, bits), rgb) << bits;
    // Transparency is not written: the colours are.
    QImage withAlpha = picture.convertToFormat(QImage::Format_ARGB32);
    for (int x = 0; x < withAlpha.width(); ++x)
        withAlpha.setPixel(x, 0, (withAlpha.pixel(x, 0) & 0x00FFFFFFu) | (quint32(x * 6) << 24));
    EXPECT_EQ(encode(withAlpha, 32), rgb);
}

TEST(TiffWriterErrors, RefusesWhatItCannotWrite)
{
    QByteArray bytes;
    QBuffer readOnly(&bytes);
    readOnly.open(QIODevice::ReadOnly);
    QString error;
    EXPECT_FALSE(WriteTiff(gradient(), 24, readOnly, &error));
    EXPECT_FALSE(error.isEmpty());

    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    for (int bits : {2, 7, 12, 48, -1}) {
        error.clear();
        EXPECT_FALSE(WriteTiff(gradient(), bits, buffer, &error)) << bits;
        EXPECT_FALSE(error.isEmpty()) << bits;
    }
    error.clear();
    EXPECT_FALSE(WriteTiff(QImage(), 24, buffer, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(bytes.isEmpty());
}

} // namespace
