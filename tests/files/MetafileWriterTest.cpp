// Placeable Windows metafiles and enhanced metafiles from our writers: their fixed byte
// layouts, the refusals, and libwmf and LibreOffice showing the picture they hold.
#include "files/MetafileWriter.h"

#include "BitmapTestSupport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>

using namespace px;
using namespace px::bmptest;

namespace {

quint32 u16(const QByteArray& b, qint64 at) { return qFromLittleEndian<quint16>(b.constData() + at); }
quint32 u32(const QByteArray& b, qint64 at) { return qFromLittleEndian<quint32>(b.constData() + at); }
qint32 i32(const QByteArray& b, qint64 at) { return qFromLittleEndian<qint32>(b.constData() + at); }

QByteArray wmfOf(const QImage& image)
{
    return writtenBytes([&](QIODevice& device, QString* error) { return WriteWmf(image, device, error); });
}

QByteArray emfOf(const QImage& image, const QString& description)
{
    return writtenBytes(
        [&](QIODevice& device, QString* error) { return WriteEmf(image, description, device, error); });
}

// Reads a 24-bit bottom-up DIB (information header at `at`) back into a picture.
QImage pictureOfDib(const QByteArray& b, qint64 at)
{
    EXPECT_EQ(u32(b, at), 40u);
    EXPECT_EQ(u16(b, at + 12), 1u);   // planes
    EXPECT_EQ(u16(b, at + 14), 24u);  // bits per pixel
    EXPECT_EQ(u32(b, at + 16), 0u);   // uncompressed
    const int w = i32(b, at + 4), h = i32(b, at + 8);
    const qint64 stride = (qint64(w) * 3 + 3) / 4 * 4;
    EXPECT_EQ(u32(b, at + 20), quint32(stride * h));
    if (w <= 0 || h <= 0 || at + 40 + stride * h > b.size())
        return {};
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const uchar*>(b.constData()) + at + 40 + (h - 1 - y) * stride;
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]));
    }
    return img;
}

// A device that takes `room` bytes and then fails, like a full disk.
class FullDevice : public QIODevice {
public:
    explicit FullDevice(qint64 room) : room_(room) { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 len) override
    {
        if (len > room_) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        room_ -= len;
        return len;
    }

private:
    qint64 room_;
};

// Flat blocks of 8 x 8 pixels in distinct colours, none white.
QImage blocks(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int bx = x / 8, by = y / 8;
            img.setPixel(x, y, qRgb((bx * 97 + 20) % 240, (by * 61 + 40) % 240, ((bx + by) * 43 + 10) % 240));
        }
    return img;
}

} // namespace

TEST(MetafileWriter, WriteWmf_PlaceableHeaderRecordsAndPixels)
{
    const QList<QImage> pictures = {colourful(1, 1), colourful(5, 3), colourful(37, 23), colourful(32767, 2)};
    for (const QImage& picture : pictures) {
        SCOPED_TRACE(testing::Message() << picture.width() << "x" << picture.height());
        const QByteArray f = wmfOf(picture);
        ASSERT_GE(f.size(), 22 + 18);
        EXPECT_EQ(u32(f, 0), 0x9AC6CDD7u);
        EXPECT_EQ(u16(f, 4), 0u);
        EXPECT_EQ(u16(f, 6), 0u);  // bounding box 0,0 - w,h
        EXPECT_EQ(u16(f, 8), 0u);
        EXPECT_EQ(u16(f, 10), quint32(picture.width()));
        EXPECT_EQ(u16(f, 12), quint32(picture.height()));
        EXPECT_EQ(u16(f, 14), 96u);
        EXPECT_EQ(u32(f, 16), 0u);
        quint32 checksum = 0;
        for (int i = 0; i < 10; ++i)
            checksum ^= u16(f, 2 * i);
        EXPECT_EQ(u16(f, 20), checksum);

        const qint64 m = 22;  // the standard header follows
        EXPECT_EQ(u16(f, m), 1u);
        EXPECT_EQ(u16(f, m + 2), 9u);
        EXPECT_EQ(u16(f, m + 4), 0x0300u);
        EXPECT_EQ(u32(f, m + 6) * 2, quint32(f.size() - 22));
        EXPECT_EQ(u16(f, m + 10), 0u);
        EXPECT_EQ(u16(f, m + 16), 0u);

        // The records, walked by their sizes, end exactly at the end of the file.
        QList<quint32> functions;
        quint32 largest = 0;
        qint64 stretchAt = -1;
        for (qint64 at = m + 18; at + 6 <= f.size();) {
            const quint32 words = u32(f, at), function = u16(f, at + 4);
            ASSERT_GE(words, 3u);
            functions.append(function);
            largest = std::max(largest, words);
            if (function == 0x020C) {
                EXPECT_EQ(u16(f, at + 6), quint32(picture.height()));
                EXPECT_EQ(u16(f, at + 8), quint32(picture.width()));
            } else if (function == 0x020B) {
                EXPECT_EQ(u32(f, at + 6), 0u);
            } else if (function == 0x0F43) {
                stretchAt = at;
            }
            at += qint64(words) * 2;
            if (function == 0) {
                EXPECT_EQ(at, f.size());
            }
        }
        EXPECT_EQ(functions, (QList<quint32>{0x020B, 0x020C, 0x0F43, 0x0000}));
        EXPECT_EQ(u32(f, m + 12), largest);
        ASSERT_GT(stretchAt, 0);
        EXPECT_EQ(u32(f, stretchAt + 6), 0x00CC0020u);  // copy the source
        EXPECT_EQ(u16(f, stretchAt + 10), 0u);          // colours in the DIB
        const quint32 h = quint32(picture.height()), w = quint32(picture.width());
        const QList<quint32> coordinates = {h, w, 0, 0, h, w, 0, 0};  // source, then destination
        for (int i = 0; i < coordinates.size(); ++i)
            EXPECT_EQ(u16(f, stretchAt + 12 + 2 * i), coordinates[i]) << "coordinate " << i;
        EXPECT_TRUE(samePixels(pictureOfDib(f, stretchAt + 28), picture));
    }
}

TEST(MetafileWriter, WriteWmf_RefusesPicturesBeyondSixteenBitCoordinatesAndWritesNothing)
{
    for (const QSize size : {QSize(32768, 1), QSize(1, 32768), QSize(40000, 2)}) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QString error;
        EXPECT_FALSE(WriteWmf(picture, buffer, &error));
        EXPECT_TRUE(error.contains(QStringLiteral("32767"))) << error.toStdString();
        EXPECT_TRUE(buffer.data().isEmpty());
    }
}

TEST(MetafileWriter, WriteEmf_HeaderFieldsAndDescription)
{
    const QImage picture = colourful(37, 23);
    for (const QString& description : {QString::fromLatin1(kEmfDescriptionSaveAs),
                                      QString::fromLatin1(kEmfDescriptionAutoSave), QString()}) {
        SCOPED_TRACE(description.toStdString());
        const QByteArray f = emfOf(picture, description);
        ASSERT_GE(f.size(), 108);
        EXPECT_EQ(u32(f, 0), 1u);
        const qint64 headerSize = u32(f, 4);
        const QList<qint32> boundsAndFrame = {0, 0, 36, 22, 0, 0, 979, 609};  // 37*2540/96 = 978.9
        for (int i = 0; i < boundsAndFrame.size(); ++i)
            EXPECT_EQ(i32(f, 8 + 4 * i), boundsAndFrame[i]) << "rectangle value " << i;
        EXPECT_EQ(f.mid(40, 4), QByteArray(" EMF"));
        EXPECT_EQ(u32(f, 44), 0x10000u);
        EXPECT_EQ(u32(f, 48), quint32(f.size()));
        EXPECT_EQ(u16(f, 56), 1u);  // handles
        EXPECT_EQ(u16(f, 58), 0u);
        EXPECT_EQ(u32(f, 68), 0u);  // palette entries
        const QList<quint32> device = {1920, 1080, 508, 286, 0, 0, 0, 508000, 285750};
        for (int i = 0; i < device.size(); ++i)
            EXPECT_EQ(u32(f, 72 + 4 * i), device[i]) << "device value " << i;

        // The description: the empty creator name and the description, each closed by a zero,
        // and one zero more, in UTF-16LE.
        QByteArray text;
        if (!description.isEmpty())
            for (const QChar c : QString(QChar(0)) + description + QChar(0) + QChar(0))
                text.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
        EXPECT_EQ(u32(f, 60), quint32(text.size() / 2));
        EXPECT_EQ(u32(f, 64), text.isEmpty() ? 0u : 108u);
        EXPECT_EQ(f.mid(108, text.size()), text);
        EXPECT_EQ(headerSize, (108 + text.size() + 3) / 4 * 4);

        // The records, walked by their sizes: header, stretch-DIB-bits, end of file.
        QList<quint32> types;
        for (qint64 at = 0; at + 8 <= f.size();) {
            const quint32 type = u32(f, at), size = u32(f, at + 4);
            ASSERT_TRUE(size >= 8 && size % 4 == 0) << size;
            types.append(type);
            if (type == 0x51) {
                const QList<qint32> fields = {0, 0, 36, 22, 0, 0, 0, 0, 37, 23, 80, 40, 120};
                for (int i = 0; i < fields.size(); ++i)
                    EXPECT_EQ(i32(f, at + 8 + 4 * i), fields[i]) << "stretch value " << i;
                EXPECT_EQ(u32(f, at + 60), u32(f, at + 80 + 20));  // bits size as the DIB says
                EXPECT_EQ(u32(f, at + 64), 0u);                    // colours in the DIB
                EXPECT_EQ(u32(f, at + 68), 0x00CC0020u);
                EXPECT_EQ(i32(f, at + 72), 37);
                EXPECT_EQ(i32(f, at + 76), 23);
                EXPECT_EQ(size, 120 + u32(f, at + 60));
                EXPECT_TRUE(samePixels(pictureOfDib(f, at + 80), picture));
            } else if (type == 14) {
                EXPECT_EQ(size, 20u);
                EXPECT_EQ(u32(f, at + 8), 0u);
                EXPECT_EQ(u32(f, at + 16), 20u);
                EXPECT_EQ(at + size, f.size());
            }
            at += size;
        }
        EXPECT_EQ(types, (QList<quint32>{1, 0x51, 14}));
        EXPECT_EQ(u32(f, 52), quint32(types.size()));
    }
}

// A player takes the own size as the frame in pixels at 96 dots per inch, rounded: every
// size must come back whole, including those where the frame itself was rounded at .5.
TEST(MetafileWriter, WriteEmf_FrameComesBackAsTheOwnSize)
{
    for (const int n : {1, 2, 11, 12, 13, 95, 96, 97, 1023, 1920, 4096}) {
        QImage picture(n, 1, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        const QByteArray f = emfOf(picture, QString());
        EXPECT_EQ(std::lround(i32(f, 32) * 96.0 / 2540.0), n) << n;
        EXPECT_EQ(std::lround(i32(f, 36) * 96.0 / 2540.0), 1) << n;
    }
}

TEST(MetafileWriter, Writers_FailCleanlyOnNullPictureAndDeviceErrors)
{
    using Writer = std::function<bool(const QImage&, QIODevice&, QString*)>;
    const QList<std::pair<const char*, Writer>> writers = {
        {"wmf", [](const QImage& i, QIODevice& d, QString* e) { return WriteWmf(i, d, e); }},
        {"emf", [](const QImage& i, QIODevice& d, QString* e) { return WriteEmf(i, kEmfDescriptionSaveAs, d, e); }},
    };
    for (const auto& [name, write] : writers) {
        SCOPED_TRACE(name);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QString error;
        EXPECT_FALSE(write(QImage(), buffer, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_TRUE(buffer.data().isEmpty());
        EXPECT_FALSE(write(QImage(), buffer, nullptr));  // no error text wanted

        // Full after nothing, inside the header, and inside the pixel rows.
        for (const qint64 room : {0, 100, 3000}) {
            FullDevice full(room);
            error.clear();
            EXPECT_FALSE(write(colourful(300, 200), full, &error)) << room;
            EXPECT_EQ(error, QStringLiteral("No space left on device")) << room;
        }
    }
}

// libwmf draws the bitmap record through a resampling that blurs the blocks' edges and may
// round a channel by one, so the blocks' inner pixels are compared within 2 per channel and
// their one-pixel borders are left out.
TEST(MetafileWriter, WriteWmf_LibwmfShowsThePicture)
{
    QTemporaryDir dir;
    const QImage picture = blocks(64, 40);
    const QString wmf = dir.filePath("picture.wmf"), png = dir.filePath("picture.png");
    ASSERT_TRUE(writeFile(wmf, wmfOf(picture)));
    const ToolRun run = runTool("wmf2gd", {"--maxwidth=64", "--maxheight=40", "--maxsize", "-o", png, wmf});
    ASSERT_EQ(run.exitCode, 0) << "wmf2gd (libwmf-bin) failed: " << run.err.toStdString();
    const QImage shown = QImage(png).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), picture.size());
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            if (x % 8 == 0 || x % 8 == 7 || y % 8 == 0 || y % 8 == 7)
                continue;
            const QRgb a = shown.pixel(x, y), e = picture.pixel(x, y);
            ASSERT_LE(std::max({std::abs(qRed(a) - qRed(e)), std::abs(qGreen(a) - qGreen(e)), std::abs(qBlue(a) - qBlue(e))}), 2)
                << "at " << x << "," << y << ": " << std::hex << a << " instead of " << e;
        }
}

// LibreOffice puts the metafile on a white page at its own size; the picture has no white
// pixel, so its place on the page is the box of the non-white pixels.
TEST(MetafileWriter, WriteEmf_LibreOfficeShowsThePicture)
{
    const QString soffice = QStandardPaths::findExecutable("soffice");
    if (soffice.isEmpty())
        GTEST_SKIP() << "soffice (LibreOffice) is not installed";
    QTemporaryDir dir;
    const QImage picture = colourful(37, 23);
    const QString emf = dir.filePath("picture.emf");
    ASSERT_TRUE(writeFile(emf, emfOf(picture, QString::fromLatin1(kEmfDescriptionSaveAs))));
    const ToolRun run = runTool(soffice, {"-env:UserInstallation=" + QUrl::fromLocalFile(dir.filePath("profile")).toString(),
                                          "--headless", "--convert-to", "png", "--outdir", dir.path(), emf});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QImage page = QImage(dir.filePath("picture.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(page.isNull());
    QRect box;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (page.pixel(x, y) != 0xFFFFFFFFu)
                box |= QRect(x, y, 1, 1);
    EXPECT_TRUE(samePixels(page.copy(box), picture));
}
