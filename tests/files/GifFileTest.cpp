// GIF files written by our encoder read back by giflib and by ImageMagick to the same indexed
// pixels, and broken GIF files refused with a reason.
#include "BitmapTestSupport.h"
#include "files/GifFile.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace px;

namespace {

QByteArray writeGif(const QImage& image, const GifOptions& options)
{
    return bmptest::writtenBytes(
        [&](QIODevice& device, QString* error) { return WriteGif(image, device, options, error); });
}

struct Decoded {
    int width = 0, height = 0;
    QList<QRgb> colours;
    std::vector<uint8_t> indices;
    QString error;
};

// giflib's own file reader and DGifSlurp, independent of our reader's record loop.
Decoded decodeWithGiflib(const QString& path)
{
    Decoded d;
    int error = 0;
    GifFileType* gif = DGifOpenFileName(QFile::encodeName(path).constData(), &error);
    if (!gif) {
        d.error = QString::fromLatin1(GifErrorString(error));
        return d;
    }
    if (DGifSlurp(gif) != GIF_OK || gif->ImageCount < 1 || !gif->SColorMap) {
        d.error = QStringLiteral("slurp failed: %1").arg(gif->Error);
    } else {
        const SavedImage& image = gif->SavedImages[0];
        d.width = image.ImageDesc.Width;
        d.height = image.ImageDesc.Height;
        for (int i = 0; i < gif->SColorMap->ColorCount; ++i) {
            const GifColorType c = gif->SColorMap->Colors[i];
            d.colours.append(qRgb(c.Red, c.Green, c.Blue));
        }
        d.indices.assign(image.RasterBits, image.RasterBits + size_t(d.width) * size_t(d.height));
    }
    DGifCloseFile(gif, &error);
    return d;
}

// ImageMagick's decoder: the pixels as 8-bit RGB triples.
QByteArray decodeWithImageMagick(const QString& path)
{
    QProcess convert;
    convert.start(QStringLiteral("convert"), {path, QStringLiteral("-depth"), QStringLiteral("8"), QStringLiteral("rgb:-")});
    if (!convert.waitForFinished(60000) || convert.exitCode() != 0)
        return {};
    return convert.readAllStandardOutput();
}

QByteArray rgbTriples(const QImage& indexed)
{
    QByteArray out;
    for (int y = 0; y < indexed.height(); ++y)
        for (int x = 0; x < indexed.width(); ++x) {
            const QRgb c = indexed.color(indexed.pixelIndex(x, y));
            out.append(char(qRed(c)));
            out.append(char(qGreen(c)));
            out.append(char(qBlue(c)));
        }
    return out;
}

std::vector<uint8_t> indicesOf(const QImage& indexed)
{
    std::vector<uint8_t> out;
    for (int y = 0; y < indexed.height(); ++y)
        out.insert(out.end(), indexed.constScanLine(y), indexed.constScanLine(y) + indexed.width());
    return out;
}

// Writes image with options and checks that giflib, ImageMagick and our reader all see the
// indexed picture the colour reduction made.
void expectReadersAgree(const QImage& image, const GifOptions& options, const QString& label)
{
    SCOPED_TRACE(label.toStdString());
    const QImage expected = ReduceColors(image, options.reduction, options.dither);
    ASSERT_FALSE(expected.isNull());
    const QByteArray bytes = writeGif(image, options);
    ASSERT_TRUE(bytes.startsWith("GIF89a"));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("picture.gif"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    const Decoded byGiflib = decodeWithGiflib(path);
    ASSERT_TRUE(byGiflib.error.isEmpty()) << byGiflib.error.toStdString();
    EXPECT_EQ(byGiflib.width, image.width());
    EXPECT_EQ(byGiflib.height, image.height());
    EXPECT_EQ(byGiflib.colours.mid(0, expected.colorCount()), expected.colorTable());
    EXPECT_TRUE(byGiflib.indices == indicesOf(expected)) << "giflib sees other pixels";

    EXPECT_TRUE(decodeWithImageMagick(path) == rgbTriples(expected)) << "ImageMagick sees other pixels";

    const GifReadResult ours = ReadGif(bytes);
    ASSERT_TRUE(ours.error.isEmpty()) << ours.error.toStdString();
    EXPECT_EQ(ours.image, expected.convertToFormat(QImage::Format_RGB32));
}

// Something like a screenshot: flat areas, a frame, text-like speckles and a colour ramp.
QImage screenLike(int width, int height)
{
    QImage img(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            QRgb c = qRgb(236, 233, 216);
            if (y < height / 6)
                c = qRgb(10 + x * 200 / width, 36, 106 + y);
            else if (x % 17 < 3 && y % 11 < 7)
                c = qRgb(0, 0, 0);
            else if (x > width / 2 && y > height / 2)
                c = qRgb((x * y) & 255, x & 255, y & 255);
            img.setPixel(x, y, c);
        }
    return img;
}

QImage noise(int width, int height, int colours, unsigned seed)
{
    std::mt19937 random(seed);
    QImage img(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int i = int(random() % unsigned(colours));
            line[x] = qRgb(i, (i * 7) & 255, (i * 13) & 255);
        }
    }
    return img;
}

TEST(GifFile, EveryOption_ReadsBackTheSameIndexedPixels)
{
    const QImage image = screenLike(83, 61);
    for (const GifCompression compression : {GifCompression::Lzw, GifCompression::RunLength})
        for (int reduction = 0; reduction <= 6; ++reduction)
            for (const DitherMode dither : {DitherMode::Nearest, DitherMode::ErrorDiffusion})
                expectReadersAgree(image, GifOptions{ColorReduction(reduction), dither, compression},
                                   QStringLiteral("compression %1 reduction %2 dither %3")
                                       .arg(int(compression)).arg(reduction).arg(int(dither)));
}

TEST(GifFile, PaletteSizes_ReadBackAtEveryCodeWidth)
{
    // 1 colour, 2 (smallest code size), 3, 5, 17, 129 and 256 colours; a 1x1 picture.
    struct Case {
        int width, height, colours;
    };
    for (const Case c : {Case{1, 1, 1}, Case{97, 31, 1}, Case{97, 31, 2}, Case{97, 31, 3}, Case{64, 64, 5},
                         Case{120, 90, 17}, Case{120, 90, 129}, Case{300, 200, 256}})
        for (const GifCompression compression : {GifCompression::Lzw, GifCompression::RunLength})
            expectReadersAgree(noise(c.width, c.height, c.colours, unsigned(c.colours)),
                               GifOptions{ColorReduction::None, DitherMode::Nearest, compression},
                               QStringLiteral("%1x%2, %3 colours, compression %4")
                                   .arg(c.width).arg(c.height).arg(c.colours).arg(int(compression)));
}

TEST(GifFile, BigNoise_LzwTableResetsAndStaysReadable)
{
    // Three million incompressible pixels fill the 4096-code table hundreds of times.
    const QImage image = noise(2000, 1500, 256, 42);
    for (const GifCompression compression : {GifCompression::Lzw, GifCompression::RunLength})
        expectReadersAgree(image, GifOptions{ColorReduction::None, DitherMode::Nearest, compression},
                           QStringLiteral("compression %1").arg(int(compression)));
}

TEST(GifFile, LzwAndRunLength_DecodeIdentically)
{
    const QImage image = screenLike(640, 400);
    const GifReadResult lzw = ReadGif(writeGif(image, {ColorReduction::None, DitherMode::Nearest, GifCompression::Lzw}));
    const GifReadResult rle = ReadGif(writeGif(image, {ColorReduction::None, DitherMode::Nearest, GifCompression::RunLength}));
    ASSERT_TRUE(lzw.error.isEmpty() && rle.error.isEmpty());
    EXPECT_EQ(lzw.image, rle.image);
}

TEST(GifFile, RunLength_ShrinksFlatAreas)
{
    QImage flat(800, 600, QImage::Format_RGB32);
    flat.fill(qRgb(236, 233, 216));
    for (int y = 100; y < 140; ++y)
        for (int x = 50; x < 750; ++x)
            flat.setPixel(x, y, qRgb(0, 84, 227));
    const GifOptions rle{ColorReduction::None, DitherMode::Nearest, GifCompression::RunLength};
    const QByteArray bytes = writeGif(flat, rle);
    // 480000 pixels at one 3-bit code each would take 180 kB.
    EXPECT_LT(bytes.size(), 20000);
    expectReadersAgree(flat, rle, QStringLiteral("flat"));
}

TEST(GifFile, Writer_RefusesWhatGifCannotHold)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QString error;
    EXPECT_FALSE(WriteGif(QImage(), buffer, {}, &error));
    EXPECT_FALSE(error.isEmpty());
    error.clear();
    QImage wide(65536, 1, QImage::Format_RGB32);
    wide.fill(Qt::white);
    EXPECT_FALSE(WriteGif(wide, buffer, {}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(bytes.isEmpty());

    QBuffer readOnly(&bytes);
    readOnly.open(QIODevice::ReadOnly);
    error.clear();
    EXPECT_FALSE(WriteGif(screenLike(10, 10), readOnly, {}, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(GifFile, Reader_ReadsInterlacedAndTransparentFilesOfImageMagick)
{
    QTemporaryDir dir;
    QImage image = noise(37, 29, 60, 5).convertToFormat(QImage::Format_ARGB32);
    for (int x = 0; x < image.width(); ++x)
        image.setPixel(x, 3, qRgba(0, 0, 0, 0));
    const QString png = dir.filePath(QStringLiteral("in.png"));
    ASSERT_TRUE(image.save(png));
    struct Case {
        const char* option;
        const char* name;
    };
    for (const Case c : {Case{"-interlace", "GIF"}, Case{"-interlace", "none"}}) {
        const QString gif = dir.filePath(QStringLiteral("out-%1.gif").arg(QLatin1String(c.name)));
        ASSERT_EQ(QProcess::execute(QStringLiteral("convert"), {png, QLatin1String(c.option), QLatin1String(c.name), gif}), 0);
        QFile file(gif);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const GifReadResult read = ReadGif(file.readAll());
        ASSERT_TRUE(read.error.isEmpty()) << read.error.toStdString();
        ASSERT_EQ(read.image.format(), QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                if (y == 3)
                    ASSERT_EQ(qAlpha(read.image.pixel(x, y)), 0) << c.name << " " << x;
                else
                    ASSERT_EQ(read.image.pixel(x, y), image.pixel(x, y)) << c.name << " " << x << "," << y;
            }
    }
}

// A 4x4 two-colour GIF whose image data is the given 3-bit codes.
QByteArray handMadeGif(const std::vector<int>& codes, int width = 4, int height = 4)
{
    QByteArray out("GIF89a");
    out.append(char(width & 0xff)).append(char(width >> 8)).append(char(height & 0xff)).append(char(height >> 8));
    out.append(char(0x80)).append('\0').append('\0');
    out.append(QByteArray::fromHex("000000ffffff"));
    out.append(',').append(QByteArray(4, '\0'));
    out.append(char(width & 0xff)).append(char(width >> 8)).append(char(height & 0xff)).append(char(height >> 8));
    out.append('\0').append(char(2));
    QByteArray data;
    uint32_t pending = 0;
    int bits = 0;
    for (const int code : codes) {
        pending |= uint32_t(code) << bits;
        bits += 3;
        while (bits >= 8) {
            data.append(char(pending & 0xff));
            pending >>= 8;
            bits -= 8;
        }
    }
    if (bits)
        data.append(char(pending & 0xff));
    out.append(char(data.size())).append(data).append('\0').append(';');
    return out;
}

TEST(GifFile, Reader_RefusesMalformedFiles)
{
    const QByteArray good = writeGif(screenLike(40, 30), {});
    ASSERT_TRUE(ReadGif(good).error.isEmpty());
    // The hand-made file reads when its codes are sound: two pixels per clear code keep every
    // code 3 bits wide.
    std::vector<int> sound;
    for (int i = 0; i < 8; ++i)
        sound.insert(sound.end(), {4, 0, 1});
    sound.push_back(5);
    const GifReadResult handMade = ReadGif(handMadeGif(sound));
    ASSERT_TRUE(handMade.error.isEmpty()) << handMade.error.toStdString();
    EXPECT_EQ(handMade.image.pixel(2, 3), qRgb(0, 0, 0));
    EXPECT_EQ(handMade.image.pixel(3, 3), qRgb(255, 255, 255));

    QByteArray noColourTable = handMadeGif(sound);
    noColourTable[10] = 0;  // no global table, and no local one
    noColourTable.remove(13, 6);
    QByteArray zeroSize = handMadeGif(sound);
    zeroSize[6 + 7 + 6 + 5] = 0;  // image width 0
    const QByteArray huge = handMadeGif(sound, 60000, 60000);
    const QByteArray large = handMadeGif(sound, 8000, 8000);  // within the caps, but 12 bytes of data
    const qsizetype imageData = 13 + 3 * (2 << (good[10] & 7)) + 10 + 1;

    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"empty", QByteArray()},
        {"signature only", QByteArray("GIF89a")},
        {"not a GIF", QByteArray("PNG89a").append(good.mid(6))},
        {"cut in the colour table", good.left(20)},
        {"cut in the image data", good.left(imageData + 30)},
        {"cut before the data ends", good.left(good.size() - 3)},
        {"trailer without picture", good.left(13 + 3 * 256).append(';')},
        {"code past the table", handMadeGif({4, 0, 7, 7, 7, 7, 7, 7, 5})},
        {"first code not a pixel", handMadeGif({4, 6, 0, 1, 5})},
        {"no colour table", noColourTable},
        {"zero width", zeroSize},
        {"huge size", huge},
        {"large size with little data", large},
    };
    for (const Case& c : cases) {
        const GifReadResult result = ReadGif(c.bytes);
        EXPECT_FALSE(result.error.isEmpty()) << c.name;
        EXPECT_TRUE(result.image.isNull()) << c.name;
    }
}

TEST(GifFile, Settings_SelectTheOptions)
{
    const GifOptions options = GifOptionsFromSettings(4, 1, 1);
    EXPECT_EQ(options.reduction, ColorReduction::Monochrome);
    EXPECT_EQ(options.dither, DitherMode::ErrorDiffusion);
    EXPECT_EQ(options.compression, GifCompression::RunLength);
    const GifOptions unknown = GifOptionsFromSettings(9, 0, 0);
    EXPECT_EQ(unknown.reduction, ColorReduction::None);
    EXPECT_EQ(unknown.dither, DitherMode::Nearest);
    EXPECT_EQ(unknown.compression, GifCompression::Lzw);
}

} // namespace
