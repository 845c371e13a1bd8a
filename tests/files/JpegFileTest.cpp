// JPEG files we write decode close to the picture in other decoders (libjpeg's djpeg and
// ImageMagick), files of other encoders decode close to what those decoders show, the scaled
// decodes have the sizes of the scaling window, and damaged files never get past the reader.
#include "BitmapTestSupport.h"
#include "files/JpegFile.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include <jpeglib.h>

using namespace px;
using px::bmptest::meanDifference;
using px::bmptest::readFile;
using px::bmptest::writeFile;
using px::testtools::runTool;
using px::testtools::ToolRun;

namespace {

// A photo-like picture: smooth gradients with a few hard edges; odd sizes catch stride and
// partial-block mistakes.
QImage samplePicture(int width = 203, int height = 117)
{
    QImage img(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool box = x > width / 3 && x < width / 2 && y > height / 4 && y < height / 2;
            img.setPixel(x, y, box ? qRgb(250, 240, 20)
                                   : qRgb(x * 255 / width, y * 255 / height, 128 + (x - y) / 4));
        }
    return img;
}

QImage greyOf(const QImage& img)
{
    QImage out = img.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = out.pixel(x, y);
            const int g = int(std::lround(0.299 * qRed(p) + 0.587 * qGreen(p) + 0.114 * qBlue(p)));
            out.setPixel(x, y, qRgb(g, g, g));
        }
    return out;
}

QImage decodeWith(const QString& program, const QStringList& args)
{
    const ToolRun run = runTool(program, args);
    return run.exitCode == 0 ? QImage::fromData(run.out) : QImage();
}

QByteArray encode(const QImage& img, const JpegWriteOptions& options = {})
{
    return px::bmptest::writtenBytes(
        [&](QIODevice& device, QString* error) { return WriteJpeg(img, device, options, error); });
}

// Offset of the first marker 0xFF <code> in the header part of a file (before the first scan's
// data), or -1.
qsizetype findMarker(const QByteArray& file, unsigned char code)
{
    qsizetype pos = 2;
    while (pos + 4 <= file.size() && uchar(file[pos]) == 0xFF) {
        const uchar marker = uchar(file[pos + 1]);
        if (marker == code)
            return pos;
        if (marker == 0xDA)
            return -1;
        pos += 2 + ((uchar(file[pos + 2]) << 8) | uchar(file[pos + 3]));
    }
    return -1;
}

void putBigEndian16(QByteArray& file, qsizetype at, int value)
{
    file[at] = char(value >> 8);
    file[at + 1] = char(value & 0xFF);
}

class JpegFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(JpegFileTest, WrittenFiles_DecodeToThePictureInOtherDecoders)
{
    struct Case {
        const char* name;
        JpegWriteOptions options;
        const char* channels;  // as ImageMagick names the file's components
    };
    const JpegWriteOptions defaults;
    const Case cases[] = {
        {"best quality", defaults, "srgb"},
        {"best speed", {.bestSpeed = true}, "srgb"},
        {"8 bit", {.eightBit = true}, "srgb"},
        {"grey", {.greyScale = true}, "gray"},
        {"grey best speed", {.bestSpeed = true, .greyScale = true}, "gray"},
        {"compressed first", {.compressFirst = true}, "srgb"},
    };
    const QImage picture = samplePicture();
    const QByteArray reference = encode(picture);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray bytes = encode(picture, c.options);
        // Baseline: a SOF0 frame, never a progressive one.
        EXPECT_GE(findMarker(bytes, 0xC0), 0);
        EXPECT_EQ(findMarker(bytes, 0xC2), -1);
        if (c.options.bestSpeed) {
            EXPECT_NE(bytes, reference);  // the other DCT gives other coefficients
        }

        const QString file = path(QStringLiteral("out.jpg"));
        ASSERT_TRUE(writeFile(file, bytes));
        const QImage expected = c.options.greyScale ? greyOf(picture) : picture;
        const QImage byLibjpeg = decodeWith(QStringLiteral("djpeg"), {QStringLiteral("-pnm"), file});
        const QImage byMagick = decodeWith(QStringLiteral("convert"), {file, QStringLiteral("ppm:-")});
        ASSERT_FALSE(byLibjpeg.isNull());
        ASSERT_FALSE(byMagick.isNull());
        EXPECT_LT(meanDifference(byLibjpeg, expected), 2.5);
        EXPECT_LT(meanDifference(byMagick, expected), 2.5);
        EXPECT_LT(meanDifference(ReadJpeg(bytes).image, byLibjpeg), 0.5);
        const ToolRun info = runTool(QStringLiteral("identify"), {QStringLiteral("-format"),
                                                                  QStringLiteral("%[channels] %Q %wx%h"), file});
        EXPECT_EQ(QString::fromLatin1(info.out.trimmed()), QStringLiteral("%1 90 203x117").arg(QLatin1String(c.channels)));
    }
}

TEST_F(JpegFileTest, DisplayAndTimingSettingsAndInputFormats_WriteIdenticalBytes)
{
    const QImage picture = samplePicture(64, 40);
    const QByteArray reference = encode(picture);
    EXPECT_EQ(encode(picture, {.eightBit = true}), reference);
    EXPECT_EQ(encode(picture, {.compressFirst = true}), reference);
    EXPECT_EQ(encode(picture.convertToFormat(QImage::Format_ARGB32)), reference);
    EXPECT_EQ(encode(picture.convertToFormat(QImage::Format_RGB888)), reference);
    // Streamed files larger than the encoder's output chunk come out whole too.
    const QImage big = samplePicture(900, 700);
    EXPECT_EQ(encode(big), encode(big, {.compressFirst = true}));
}

TEST_F(JpegFileTest, WriteFailures_AreReported)
{
    QByteArray bytes;
    QBuffer readOnly(&bytes);
    readOnly.open(QIODevice::ReadOnly);
    for (const bool compressFirst : {false, true}) {
        QString error;
        EXPECT_FALSE(WriteJpeg(samplePicture(), readOnly, {.compressFirst = compressFirst}, &error));
        EXPECT_FALSE(error.isEmpty());
    }
    QBuffer sink;
    sink.open(QIODevice::WriteOnly);
    for (const QImage& unwritable : {QImage(), QImage(65501, 1, QImage::Format_RGB32)}) {
        QString error;
        EXPECT_FALSE(WriteJpeg(unwritable, sink, {}, &error));
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_EQ(sink.size(), 0);
}

// A CMYK or YCCK file the way Photoshop writes them: Adobe marker, inks stored inverted.
QByteArray encodeInvertedInks(const QImage& picture, J_COLOR_SPACE stored)
{
    struct Job {
        jpeg_compress_struct cinfo;
        jpeg_error_mgr err;
        unsigned char* out = nullptr;
        unsigned long size = 0;
    } job;
    job.cinfo.err = jpeg_std_error(&job.err);
    jpeg_create_compress(&job.cinfo);
    jpeg_mem_dest(&job.cinfo, &job.out, &job.size);
    job.cinfo.image_width = JDIMENSION(picture.width());
    job.cinfo.image_height = JDIMENSION(picture.height());
    job.cinfo.input_components = 4;
    job.cinfo.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&job.cinfo);
    jpeg_set_colorspace(&job.cinfo, stored);
    jpeg_set_quality(&job.cinfo, 95, TRUE);
    jpeg_start_compress(&job.cinfo, TRUE);
    std::vector<JSAMPLE> row(size_t(picture.width()) * 4);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            // Grey component replacement: black takes the common part, inverted as stored.
            const QRgb p = picture.pixel(x, y);
            const int k = 255 - std::max({qRed(p), qGreen(p), qBlue(p)});
            const auto ink = [k](int channel) { return k == 255 ? 0 : 255 * (255 - channel - k) / (255 - k); };
            row[size_t(x) * 4 + 0] = JSAMPLE(255 - ink(qRed(p)));
            row[size_t(x) * 4 + 1] = JSAMPLE(255 - ink(qGreen(p)));
            row[size_t(x) * 4 + 2] = JSAMPLE(255 - ink(qBlue(p)));
            row[size_t(x) * 4 + 3] = JSAMPLE(255 - k);
        }
        JSAMPROW rowPointer = row.data();
        jpeg_write_scanlines(&job.cinfo, &rowPointer, 1);
    }
    jpeg_finish_compress(&job.cinfo);
    jpeg_destroy_compress(&job.cinfo);
    QByteArray bytes(reinterpret_cast<const char*>(job.out), qsizetype(job.size));
    std::free(job.out);
    return bytes;
}

TEST_F(JpegFileTest, FilesOfOtherEncoders_ReadAsOtherDecodersShowThem)
{
    const QImage picture = samplePicture();
    const QString ppm = path(QStringLiteral("in.ppm"));
    ASSERT_TRUE(picture.save(ppm, "PPM"));
    struct Case {
        const char* name;
        std::function<QByteArray()> make;
    };
    const auto cjpeg = [&](QStringList args) {
        return [this, args, ppm]() mutable {
            args << QStringLiteral("-outfile") << path(QStringLiteral("made.jpg")) << ppm;
            return runTool(QStringLiteral("cjpeg"), args).exitCode == 0 ? readFile(path(QStringLiteral("made.jpg")))
                                                                       : QByteArray();
        };
    };
    const Case cases[] = {
        {"baseline 4:2:0", cjpeg({})},
        {"progressive", cjpeg({QStringLiteral("-progressive")})},
        {"grey", cjpeg({QStringLiteral("-grayscale")})},
        {"arithmetic coding", cjpeg({QStringLiteral("-arithmetic")})},
        {"restart markers, 4:4:4", cjpeg({QStringLiteral("-restart"), QStringLiteral("1"),
                                          QStringLiteral("-sample"), QStringLiteral("1x1")})},
        {"RGB components", cjpeg({QStringLiteral("-rgb")})},
        {"CMYK by ImageMagick",
         [&] {
             const QString out = path(QStringLiteral("cmyk.jpg"));
             return runTool(QStringLiteral("convert"), {ppm, QStringLiteral("-colorspace"), QStringLiteral("CMYK"), out})
                            .exitCode == 0
                 ? readFile(out)
                 : QByteArray();
         }},
        {"CMYK, inverted inks", [&] { return encodeInvertedInks(picture, JCS_CMYK); }},
        {"YCCK, inverted inks", [&] { return encodeInvertedInks(picture, JCS_YCCK); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray bytes = c.make();
        ASSERT_FALSE(bytes.isEmpty());
        const QString file = path(QStringLiteral("case.jpg"));
        ASSERT_TRUE(writeFile(file, bytes));
        const QImage byMagick = decodeWith(QStringLiteral("convert"), {file, QStringLiteral("-colorspace"),
                                                                       QStringLiteral("sRGB"), QStringLiteral("ppm:-")});
        ASSERT_FALSE(byMagick.isNull());
        const JpegReadResult result = ReadJpeg(bytes);
        ASSERT_TRUE(result.error.isEmpty()) << result.error.toStdString();
        EXPECT_TRUE(result.warning.isEmpty()) << result.warning.toStdString();
        EXPECT_EQ(result.image.format(), QImage::Format_RGB32);
        EXPECT_EQ(result.fullSize, picture.size());
        EXPECT_LT(meanDifference(result.image, byMagick), 1.0);
        EXPECT_LT(meanDifference(result.image, QString(c.name) == "grey" ? greyOf(picture) : picture), 3.0);
    }
}

TEST_F(JpegFileTest, ScaledDecodes_HaveTheRoundedUpSizeAndMatchLibjpegsScaling)
{
    const QImage picture = samplePicture(1001, 333);
    const QByteArray bytes = encode(picture);
    const QString file = path(QStringLiteral("scaled.jpg"));
    ASSERT_TRUE(writeFile(file, bytes));
    for (const int scale : {1, 2, 4, 8}) {
        SCOPED_TRACE(scale);
        const JpegReadResult result = ReadJpeg(bytes, scale);
        ASSERT_TRUE(result.error.isEmpty()) << result.error.toStdString();
        EXPECT_EQ(result.fullSize, QSize(1001, 333));
        EXPECT_EQ(result.image.size(), QSize((1001 + scale - 1) / scale, (333 + scale - 1) / scale));
        const QImage byDjpeg = decodeWith(QStringLiteral("djpeg"),
                                          {QStringLiteral("-scale"), QStringLiteral("1/%1").arg(scale), file});
        EXPECT_LT(meanDifference(result.image, byDjpeg), 0.5);
    }
    EXPECT_FALSE(ReadJpeg(bytes, 3).error.isEmpty());
}

TEST_F(JpegFileTest, TruncatedFile_ShowsTheDecodedPartAndWarns)
{
    const QImage picture = samplePicture(96, 256);
    const QByteArray whole = encode(picture);
    const JpegReadResult full = ReadJpeg(whole);
    const JpegReadResult cut = ReadJpeg(whole.left(whole.size() * 6 / 10));
    ASSERT_TRUE(cut.error.isEmpty()) << cut.error.toStdString();
    EXPECT_FALSE(cut.warning.isEmpty());
    ASSERT_EQ(cut.image.size(), picture.size());
    const QRect top(0, 0, 96, 64);
    EXPECT_EQ(cut.image.copy(top), full.image.copy(top));
    EXPECT_GT(meanDifference(cut.image, full.image), 1.0);  // the lost rows are not invented
}

TEST_F(JpegFileTest, DamagedFiles_GiveAReasonAndNoPicture)
{
    const QByteArray good = encode(samplePicture(40, 24));
    const QByteArray grey = encode(samplePicture(40, 24), {.greyScale = true});
    const qsizetype sof = findMarker(good, 0xC0);
    const qsizetype dht = findMarker(good, 0xC4);
    ASSERT_GT(sof, 0);
    ASSERT_GT(dht, 0);
    const auto patched = [](QByteArray bytes, const std::function<void(QByteArray&)>& change) {
        change(bytes);
        return bytes;
    };

    // A progressive file whose last scan is repeated far more often than any encoder would.
    const QString ppm = path(QStringLiteral("p.ppm"));
    ASSERT_TRUE(samplePicture(16, 16).save(ppm, "PPM"));
    ASSERT_EQ(runTool(QStringLiteral("cjpeg"), {QStringLiteral("-progressive"), QStringLiteral("-outfile"),
                                                 path(QStringLiteral("p.jpg")), ppm})
                  .exitCode,
              0);
    const QByteArray progressive = readFile(path(QStringLiteral("p.jpg")));
    const qsizetype lastScan = progressive.lastIndexOf("\xFF\xDA");
    ASSERT_GT(lastScan, 0);
    const QByteArray scan = progressive.mid(lastScan, progressive.size() - 2 - lastScan);
    const QByteArray endlessScans = progressive.left(progressive.size() - 2) + scan.repeated(600) + "\xFF\xD9";

    // Two components: neither grey nor colour.
    const qsizetype greySof = findMarker(grey, 0xC0);
    QByteArray twoComponents = grey.left(greySof);
    twoComponents += QByteArray::fromHex("FFC0000E080018002802011100021100");
    twoComponents += grey.mid(greySof + 2 + 11);

    const QByteArray hugeDeclared = patched(good, [&](QByteArray& b) {
        putBigEndian16(b, sof + 5, 65000);
        putBigEndian16(b, sof + 7, 65000);
    });

    struct Case {
        const char* name;
        QByteArray bytes;
        JpegReadLimits limits = {};
    };
    const Case cases[] = {
        {"empty", QByteArray()},
        {"not a JPEG", QByteArray("GIF89a not a jpeg at all")},
        {"start marker only", QByteArray("\xFF\xD8", 2)},
        {"cut inside the header", good.left(sof + 6)},
        {"zero width", patched(good, [&](QByteArray& b) { putBigEndian16(b, sof + 7, 0); })},
        {"zero height", patched(good, [&](QByteArray& b) { putBigEndian16(b, sof + 5, 0); })},
        {"huge declared size", hugeDeclared},
        {"12-bit samples", patched(good, [&](QByteArray& b) { b[sof + 4] = 12; })},
        {"Huffman table with too many codes", patched(good, [&](QByteArray& b) {
             for (int i = 0; i < 16; ++i)
                 b[dht + 5 + i] = char(0x40);
         })},
        {"two components", twoComponents},
        {"endless progressive scans", endlessScans},
        {"more pixels than allowed", good, JpegReadLimits{.maxPixels = 500}},
        {"coefficients of a progressive file past the memory cap", progressive, JpegReadLimits{.maxMemoryBytes = 1500}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const JpegReadResult result = ReadJpeg(c.bytes, 1, c.limits);
        EXPECT_TRUE(result.image.isNull());
        EXPECT_FALSE(result.error.isEmpty());
    }
    // The declared size is known even when the picture is refused.
    EXPECT_EQ(ReadJpeg(hugeDeclared).fullSize, QSize(65000, 65000));
}

} // namespace
