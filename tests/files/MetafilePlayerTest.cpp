// The metafile record player: small metafiles built here record by record are played and
// their pixels checked; damaged data ends in a reason, never a crash.
#include "files/MetafilePlayer.h"
#include "files/MetafileWriter.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <initializer_list>
#include <vector>

using namespace px;

namespace {

constexpr QRgb kWhite = 0xFFFFFFFFu;
constexpr QRgb kBlack = 0xFF000000u;
constexpr QRgb kRed = 0xFFFF0000u;
constexpr QRgb kGreen = 0xFF00FF00u;
constexpr QRgb kBlue = 0xFF0000FFu;

// COLORREF of an RGB colour.
quint32 ref(QRgb c) { return quint32(qRed(c)) | quint32(qGreen(c)) << 8 | quint32(qBlue(c)) << 16; }

void add16(QByteArray& b, int v)
{
    char c[2];
    qToLittleEndian<quint16>(quint16(v), c);
    b.append(c, 2);
}

void add32(QByteArray& b, qint64 v)
{
    char c[4];
    qToLittleEndian<quint32>(quint32(v), c);
    b.append(c, 4);
}

QByteArray words(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        add16(b, v);
    return b;
}

QByteArray dwords(std::initializer_list<qint64> values)
{
    QByteArray b;
    for (qint64 v : values)
        add32(b, v);
    return b;
}

// ---- Windows metafile builder ----------------------------------------------------------------

struct Wmf {
    QByteArray records;

    Wmf& rec(int function, const QByteArray& params)
    {
        add32(records, 3 + (params.size() + 1) / 2);
        add16(records, function);
        records.append(params);
        if (params.size() % 2)
            records.append('\0');
        return *this;
    }
    Wmf& rec(int function, std::initializer_list<int> params) { return rec(function, words(params)); }

    // Common records, with their arguments in the drawing calls' order.
    Wmf& pen(int style, int width, QRgb color)
    {
        QByteArray p = words({style, width, 0});
        add32(p, ref(color));
        return rec(0x02FA, p);
    }
    Wmf& brush(int style, QRgb color, int hatch = 0)
    {
        QByteArray p = words({style});
        add32(p, ref(color));
        add16(p, hatch);
        return rec(0x02FC, p);
    }
    Wmf& select(int index) { return rec(0x012D, {index}); }
    Wmf& rectangle(int l, int t, int r, int b) { return rec(0x041B, {b, r, t, l}); }

    QByteArray header(int objects) const
    {
        QByteArray h = words({1, 9, 0x0300});
        add32(h, 9 + (records.size() + 6) / 2);
        add16(h, objects);
        add32(h, 0);
        add16(h, 0);
        return h;
    }
    QByteArray plain(int objects = 8) const { return header(objects) + records + dwords({3}) + words({0}); }
    QByteArray placeable(QRect box, int inch = 96, int objects = 8) const
    {
        QByteArray p = dwords({0x9AC6CDD7});
        p += words({0, box.left(), box.top(), box.left() + box.width(), box.top() + box.height(), inch});
        add32(p, 0);
        quint16 sum = 0;
        for (int i = 0; i < 20; i += 2)
            sum ^= qFromLittleEndian<quint16>(p.constData() + i);
        add16(p, sum);
        return p + plain(objects);
    }
};

// ---- Enhanced metafile builder ---------------------------------------------------------------

struct Emf {
    QByteArray records;

    Emf& rec(quint32 type, QByteArray params)
    {
        while (params.size() % 4)
            params.append('\0');
        add32(records, type);
        add32(records, 8 + params.size());
        records.append(params);
        return *this;
    }
    Emf& rec(quint32 type, std::initializer_list<qint64> params) { return rec(type, dwords(params)); }
    Emf& pen(int ih, int style, int width, QRgb color) { return rec(38, {ih, style, width, 0, ref(color)}); }
    Emf& brush(int ih, int style, QRgb color, int hatch = 0) { return rec(39, {ih, style, ref(color), hatch}); }
    Emf& select(qint64 ih) { return rec(37, {ih}); }
    Emf& rectangle(int l, int t, int r, int b) { return rec(43, {l, t, r, b}); }

    // A header as our own writer gives it: bounds 0..w-1, frame in 0.01 mm at 96 dots per inch.
    QByteArray file(QSize size, int handles = 8) const
    {
        const qint64 fw = std::llround(size.width() * 2540.0 / 96), fh = std::llround(size.height() * 2540.0 / 96);
        return fileWith(QRect(0, 0, size.width(), size.height()), QRect(0, 0, int(fw), int(fh)), handles);
    }
    QByteArray fileWith(QRect bounds, QRect frame, int handles = 8) const
    {
        QByteArray h = dwords({1, 108, bounds.left(), bounds.top(), bounds.left() + bounds.width() - 1,
                               bounds.top() + bounds.height() - 1, frame.left(), frame.top(),
                               frame.left() + frame.width(), frame.top() + frame.height(), 0x464D4520, 0x10000, 0, 0});
        add16(h, handles);
        add16(h, 0);
        h += dwords({0, 0, 0, 1920, 1080, 508, 286, 0, 0, 0, 508000, 285750});
        QByteArray all = h + records + dwords({14, 20, 0, 16, 20});
        qToLittleEndian<quint32>(quint32(all.size()), all.data() + 48);
        return all;
    }
};

QImage render(const QByteArray& data, MetafileLimits limits = {})
{
    const MetafileReadResult r = ReadMetafile(data, limits);
    EXPECT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    return r.image;
}

QRgb at(const QImage& image, int x, int y) { return image.pixel(x, y) | 0xFF000000u; }

// A pixel a case expects, in the picture's own coordinates.
struct Pixel {
    int x, y;
    QRgb color;
};

// Checks every expected pixel; a failure names the case and the place.
void expectPixels(const QImage& image, std::initializer_list<Pixel> expected, const char* what = "")
{
    for (const Pixel& p : expected)
        EXPECT_EQ(at(image, p.x, p.y), p.color) << what << " at " << p.x << "," << p.y;
}

// ---- Bitmaps ---------------------------------------------------------------------------------

// The 4 x 2 picture every bitmap case draws, top row first.
struct Picture {
    std::vector<QRgb> pixels;  // 8 pixels, rows from the top
};

Picture twoColours() { return {{kBlack, kWhite, kWhite, kBlack, kWhite, kBlack, kBlack, kWhite}}; }
Picture eightColours()
{
    return {{kRed, kGreen, kBlue, kWhite, kBlack, 0xFFFFFF00u, 0xFF00FFFFu, 0xFF808080u}};
}

// A packed DIB (header, colour table, rows from the bottom) of picture in bits per pixel.
QByteArray packedDib(const Picture& picture, int bits, bool rle8 = false)
{
    std::vector<QRgb> palette;
    if (bits <= 8)
        for (QRgb c : picture.pixels)
            if (std::find(palette.begin(), palette.end(), c) == palette.end())
                palette.push_back(c);
    QByteArray pixelBytes;
    for (int row = 1; row >= 0; --row) {
        QByteArray line;
        if (rle8) {
            for (int x = 0; x < 4; ++x) {
                line.append(char(1));
                line.append(char(std::find(palette.begin(), palette.end(), picture.pixels[row * 4 + x]) - palette.begin()));
            }
            line.append(char(0));
            line.append(char(0));
            pixelBytes += line;
            continue;
        }
        quint32 acc = 0;
        int used = 0;
        for (int x = 0; x < 4; ++x) {
            const QRgb c = picture.pixels[std::size_t(row * 4 + x)];
            if (bits >= 24) {
                line.append(char(qBlue(c)));
                line.append(char(qGreen(c)));
                line.append(char(qRed(c)));
                if (bits == 32)
                    line.append(char(0));
                continue;
            }
            const quint32 index = quint32(std::find(palette.begin(), palette.end(), c) - palette.begin());
            acc = (acc << bits) | index;
            used += bits;
            if (used == 8) {
                line.append(char(acc));
                acc = 0;
                used = 0;
            }
        }
        if (used)
            line.append(char(acc << (8 - used)));
        while (line.size() % 4)
            line.append('\0');
        pixelBytes += line;
    }
    if (rle8)
        pixelBytes += QByteArray("\0\1", 2);
    QByteArray dib = dwords({40, 4, 2});
    add16(dib, 1);
    add16(dib, bits);
    dib += dwords({rle8 ? 1 : 0, pixelBytes.size(), 3780, 3780, qint64(palette.size()), 0});
    for (QRgb c : palette)
        dib += dwords({qBlue(c) | qGreen(c) << 8 | qRed(c) << 16});
    return dib + pixelBytes;
}

void expectPictureAt(const QImage& image, const Picture& picture, QPoint origin)
{
    ASSERT_FALSE(image.isNull());
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(at(image, origin.x() + x, origin.y() + y), picture.pixels[std::size_t(y * 4 + x)])
                << "pixel " << x << "," << y;
    EXPECT_EQ(at(image, origin.x() - 1, origin.y()), kWhite);
    EXPECT_EQ(at(image, origin.x() + 4, origin.y() + 1), kWhite);
    EXPECT_EQ(at(image, origin.x(), origin.y() + 2), kWhite);
}

// An enhanced-metafile bitmap record holding dib: the fixed part, then header and bits.
QByteArray emfBitmapRecord(quint32 type, const QByteArray& dib, QPoint dest)
{
    const qint64 headerAndTable = 40 + qint64(qFromLittleEndian<quint32>(dib.constData() + 32)) * 4;
    const qint64 bitsSize = dib.size() - headerAndTable;
    QByteArray p = dwords({dest.x(), dest.y(), dest.x() + 3, dest.y() + 1});  // bounds
    qint64 fixed = 0;
    switch (type) {
    case 81:  // stretch DIB bits
        fixed = 80;
        p += dwords({dest.x(), dest.y(), 0, 0, 4, 2, fixed, headerAndTable, fixed + headerAndTable, bitsSize, 0,
                     0x00CC0020, 4, 2});
        break;
    case 80:  // set DIB bits to device
        fixed = 76;
        p += dwords({dest.x(), dest.y(), 0, 0, 4, 2, fixed, headerAndTable, fixed + headerAndTable, bitsSize, 0, 0, 2});
        break;
    case 76:  // bit block transfer
    case 77:  // stretch block transfer
        fixed = type == 76 ? 100 : 108;
        p += dwords({dest.x(), dest.y(), 4, 2, 0x00CC0020, 0, 0});
        p += dwords({0x3F800000, 0, 0, 0x3F800000, 0, 0});  // identity source transform
        p += dwords({0, 0, fixed, headerAndTable, fixed + headerAndTable, bitsSize});
        if (type == 77)
            p += dwords({4, 2});
        break;
    }
    QByteArray r = dwords({type, fixed + dib.size()});
    return r + p + dib;
}

QByteArray emfWithRecord(const QByteArray& record, QSize size)
{
    Emf e;
    e.records = record;
    return e.file(size);
}

// ---- Tests -----------------------------------------------------------------------------------

TEST(MetafilePlayer, Format_IsChosenByContent)
{
    const QByteArray emf = Emf().file(QSize(4, 4));
    const QByteArray placeable = Wmf().placeable(QRect(0, 0, 4, 4));
    const QByteArray plain = Wmf().rec(0x020C, {4, 4}).plain();
    struct Case { QByteArray data; MetafileFormat format; };
    const Case cases[] = {
        {emf, MetafileFormat::Enhanced}, {placeable, MetafileFormat::Placeable}, {plain, MetafileFormat::Plain},
        {QByteArray("BM\0\0\0\0", 6), MetafileFormat::None}, {QByteArray(), MetafileFormat::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DetectMetafileFormat(c.data), c.format);

    // An enhanced metafile saved under a Windows metafile's name is still read as enhanced.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile file(dir.filePath("picture.wmf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Emf().rectangle(0, 0, 4, 4).file(QSize(4, 4)));
    file.close();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const MetafileReadResult r = ReadMetafile(file.readAll());
    EXPECT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    EXPECT_EQ(r.format, MetafileFormat::Enhanced);
    EXPECT_EQ(r.size, QSize(4, 4));
}

TEST(MetafilePlayer, OwnSize_FollowsHeaderAt96DotsPerInch)
{
    struct Case { QByteArray data; QSize size; };
    std::vector<Case> cases = {
        {Wmf().placeable(QRect(0, 0, 1440, 720), 1440), QSize(96, 48)},
        {Wmf().placeable(QRect(-100, 50, 254, 127), 254), QSize(96, 48)},
        {Wmf().rec(0x020B, {0, 0}).rec(0x020C, {30, 40}).rec(0x020C, {1, 1}).plain(), QSize(40, 30)},
        // Frame empty: the bounds, inclusive, give the size.
        {Emf().fileWith(QRect(0, 0, 25, 14), QRect(0, 0, 0, 0)), QSize(25, 14)},
    };
    for (int w : {1, 7, 100, 1234, 4000})
        cases.push_back({Emf().file(QSize(w, w / 2 + 1)), QSize(w, w / 2 + 1)});
    for (const Case& c : cases) {
        QString error;
        EXPECT_EQ(MetafileSize(c.data, &error), c.size) << error.toStdString();
    }
}

TEST(MetafilePlayer, OwnWriterFiles_ReadBackToTheSamePixels)
{
    QImage picture(37, 23, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 7, y * 11, (x ^ y) * 5));
    for (bool enhanced : {false, true}) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(enhanced ? WriteEmf(picture, kEmfDescriptionSaveAs, buffer) : WriteWmf(picture, buffer));
        const MetafileReadResult r = ReadMetafile(bytes);
        ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
        EXPECT_EQ(r.size, picture.size());
        EXPECT_EQ(r.image.convertToFormat(QImage::Format_RGB32), picture) << "enhanced " << enhanced;
    }
}

TEST(MetafilePlayer, Line_IsDrawnWithoutItsLastPixel)
{
    for (bool enhanced : {false, true}) {
        const QByteArray data = enhanced
            ? Emf().pen(1, 0, 0, kRed).select(1).rec(27, {2, 5}).rec(54, {12, 5}).file(QSize(16, 10))
            : Wmf().pen(0, 0, kRed).select(0).rec(0x0214, {5, 2}).rec(0x0213, {5, 12}).placeable(QRect(0, 0, 16, 10));
        const QImage image = render(data);
        ASSERT_FALSE(image.isNull());
        expectPixels(image, {{2, 5, kRed}, {11, 5, kRed}, {12, 5, kWhite}, {7, 4, kWhite}, {7, 6, kWhite}},
                     enhanced ? "enhanced" : "plain");
    }
}

TEST(MetafilePlayer, Shapes_FillWithBrushAndOutlineWithPen)
{
    // Rectangle 2,2-12,10: the pen runs on its outer pixels, right and bottom edges excluded.
    const QByteArray wmf = Wmf().pen(0, 1, kRed).brush(0, kBlue).select(0).select(1)
                               .rectangle(2, 2, 12, 10).placeable(QRect(0, 0, 16, 12));
    const QByteArray emf = Emf().pen(1, 0, 1, kRed).brush(2, 0, kBlue).select(1).select(2)
                               .rectangle(2, 2, 12, 10).file(QSize(16, 12));
    for (const QByteArray& data : {wmf, emf}) {
        const QImage image = render(data);
        ASSERT_FALSE(image.isNull());
        expectPixels(image, {{2, 2, kRed}, {11, 9, kRed}, {7, 2, kRed}, {6, 6, kBlue},
                             {12, 6, kWhite}, {6, 10, kWhite}, {1, 1, kWhite}},
                     data == emf ? "enhanced" : "plain");
    }

    // An ellipse with a null pen and a stock black brush: centre filled, corners left.
    const QImage ellipse = render(Emf().select(0x80000008).select(0x80000004).rec(42, {0, 0, 20, 20}).file(QSize(20, 20)));
    ASSERT_FALSE(ellipse.isNull());
    expectPixels(ellipse, {{10, 10, kBlack}, {10, 1, kBlack}, {1, 1, kWhite}, {18, 18, kWhite}});
}

TEST(MetafilePlayer, Mapping_PlacesLogicalUnitsOnThePicture)
{
    // A black 20 x 20 picture region filled through each mapping; a point inside the mapped
    // rectangle must be black and one outside it white.
    struct Case {
        const char* name;
        std::function<void(Emf&)> setUp;
        QRect logical;
        QPoint inside, outside;
    };
    const Case cases[] = {
        {"anisotropic", [](Emf& e) { e.rec(17, {8}).rec(9, {100, 200}).rec(11, {20, 20}); },
         QRect(50, 100, 50, 100), {15, 15}, {5, 5}},
        {"isotropic keeps the smaller scale", [](Emf& e) { e.rec(17, {7}).rec(9, {100, 200}).rec(11, {20, 20}); },
         QRect(0, 0, 100, 200), {5, 15}, {15, 5}},
        {"window origin", [](Emf& e) { e.rec(10, {-10, -10}); }, QRect(-10, -10, 5, 5), {2, 2}, {7, 7}},
        {"scale of the window", [](Emf& e) { e.rec(17, {8}).rec(9, {10, 10}).rec(11, {20, 20}).rec(32, {2, 1, 1, 1}); },
         QRect(0, 0, 10, 10), {2, 15}, {15, 2}},
        {"low metric with y upwards", [](Emf& e) { e.rec(17, {2}).rec(12, {0, 20}); },
         QRect(0, 0, 26, 26), {2, 18}, {2, 8}},
        {"world transform scales", [](Emf& e) { e.rec(35, {0x40000000, 0, 0, 0x40000000, 0, 0}); },
         QRect(5, 5, 5, 5), {15, 15}, {8, 8}},
        {"singular world transform is refused", [](Emf& e) { e.rec(35, {0, 0, 0, 0, 0, 0}); },
         QRect(0, 0, 5, 5), {2, 2}, {7, 7}},
        {"zero window extent is refused", [](Emf& e) { e.rec(17, {8}).rec(9, {0, 0}); },
         QRect(0, 0, 5, 5), {2, 2}, {7, 7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Emf e;
        e.select(0x80000008).select(0x80000004);
        c.setUp(e);
        e.rectangle(c.logical.left(), c.logical.top(), c.logical.left() + c.logical.width(),
                    c.logical.top() + c.logical.height());
        const QImage image = render(e.file(QSize(20, 20)));
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(at(image, c.inside.x(), c.inside.y()), kBlack);
        EXPECT_EQ(at(image, c.outside.x(), c.outside.y()), kWhite);
    }

    // A Windows metafile's window fills its bounding box: 100 x 100 logical units on 10 pixels.
    const QImage wmf = render(Wmf().rec(0x0103, {8}).rec(0x020B, {0, 0}).rec(0x020C, {100, 100})
                                  .brush(0, kGreen).select(0).rectangle(50, 50, 100, 100)
                                  .placeable(QRect(0, 0, 10, 10)));
    ASSERT_FALSE(wmf.isNull());
    EXPECT_EQ(at(wmf, 7, 7), kGreen);
    EXPECT_EQ(at(wmf, 3, 3), kWhite);
}

TEST(MetafilePlayer, SaveAndRestore_BringBackBrushAndMapping)
{
    // Red brush saved, then blue brush and a moved origin; restoring (by relative and by
    // absolute index) brings back the red brush at the old origin.
    for (int restore : {-1, 1}) {
        const QByteArray data = Wmf().brush(0, kRed).brush(0, kBlue).select(0)
                                    .rec(0x001E, {}).select(1).rec(0x020B, {-10, -10})
                                    .rec(0x0127, {restore}).rectangle(0, 0, 5, 5)
                                    .placeable(QRect(0, 0, 20, 20));
        const QImage image = render(data);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(at(image, 2, 2), kRed) << restore;
        EXPECT_EQ(at(image, 12, 12), kWhite) << restore;
    }
}

TEST(MetafilePlayer, ClipRectangles_LimitDrawing)
{
    struct Case { const char* name; Emf clip; QPoint drawn, kept; };
    const Case cases[] = {
        {"intersect", Emf().rec(30, {0, 0, 5, 5}), {2, 2}, {7, 7}},
        {"exclude", Emf().rec(29, {0, 0, 5, 5}), {7, 7}, {2, 2}},
        {"offset", Emf().rec(30, {0, 0, 5, 5}).rec(26, {10, 10}), {12, 12}, {2, 2}},
        {"region reset", Emf().rec(30, {0, 0, 5, 5}).rec(75, {0, 5}), {12, 12}, {-1, -1}},
        {"restored", Emf().rec(33, {}).rec(30, {0, 0, 5, 5}).rec(34, {-1}), {12, 12}, {-1, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Emf e = c.clip;
        e.select(0x80000008).select(0x80000004).rectangle(0, 0, 20, 20);
        const QImage image = render(e.file(QSize(20, 20)));
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(at(image, c.drawn.x(), c.drawn.y()), kBlack);
        if (c.kept.x() >= 0) {
            EXPECT_EQ(at(image, c.kept.x(), c.kept.y()), kWhite);
        }
    }
}

TEST(MetafilePlayer, Bitmaps_InEveryDepthGiveExactPixels)
{
    struct Depth { const char* name; Picture picture; int bits; bool rle8; };
    const Depth depths[] = {
        {"1 bit", twoColours(), 1, false},   {"4 bits", eightColours(), 4, false},
        {"8 bits", eightColours(), 8, false}, {"RLE8", eightColours(), 8, true},
        {"24 bits", eightColours(), 24, false}, {"32 bits", eightColours(), 32, false},
    };
    const QPoint origin(3, 2);
    for (const Depth& d : depths) {
        const QByteArray dib = packedDib(d.picture, d.bits, d.rle8);
        std::vector<std::pair<const char*, QByteArray>> files;
        for (quint32 type : {76u, 77u, 80u, 81u})
            files.push_back({"enhanced", emfWithRecord(emfBitmapRecord(type, dib, origin), QSize(10, 6))});
        const int x = origin.x(), y = origin.y();
        files.push_back({"dib bitblt", Wmf().rec(0x0940, words({0x0020, 0x00CC, 0, 0, 2, 4, y, x}) + dib)
                                           .placeable(QRect(0, 0, 10, 6))});
        files.push_back({"dib stretchblt", Wmf().rec(0x0B41, words({0x0020, 0x00CC, 2, 4, 0, 0, 2, 4, y, x}) + dib)
                                               .placeable(QRect(0, 0, 10, 6))});
        files.push_back({"stretchdib", Wmf().rec(0x0F43, words({0x0020, 0x00CC, 0, 2, 4, 0, 0, 2, 4, y, x}) + dib)
                                           .placeable(QRect(0, 0, 10, 6))});
        files.push_back({"setdibtodev", Wmf().rec(0x0D33, words({0, 2, 0, 0, 0, 2, 4, y, x}) + dib)
                                            .placeable(QRect(0, 0, 10, 6))});
        for (const auto& [record, data] : files) {
            SCOPED_TRACE(std::string(d.name) + " " + record);
            expectPictureAt(render(data), d.picture, origin);
        }
    }
}

TEST(MetafilePlayer, BitmapSourceRectangles_CountRowsAsTheirRecordsDo)
{
    // Source 1,0 sized 2 x 1 of the bottom-up 4 x 2 bitmap: DIB records count rows from the
    // bitmap's last row, block transfers from its top.
    const QByteArray dib = packedDib(eightColours(), 24);
    const qint64 bits = dib.size() - 40;
    const QRgb bottom[] = {0xFFFFFF00u, 0xFF00FFFFu}, top[] = {kGreen, kBlue};
    struct Case { const char* name; QByteArray data; const QRgb* expected; };
    const Case cases[] = {
        {"stretch DIB bits", emfWithRecord(dwords({81, 80 + dib.size(), 0, 0, 1, 0, 0, 0, 1, 0, 2, 1, 80, 40, 120, bits,
                                                   0, 0x00CC0020, 2, 1}) + dib, QSize(4, 2)), bottom},
        {"stretch DIB", Wmf().rec(0x0F43, words({0x0020, 0x00CC, 0, 1, 2, 0, 1, 1, 2, 0, 0}) + dib)
                            .placeable(QRect(0, 0, 4, 2)), bottom},
        {"stretch block transfer", emfWithRecord(dwords({77, 108 + dib.size(), 0, 0, 1, 0, 0, 0, 2, 1, 0x00CC0020, 1, 0,
                                                         0x3F800000, 0, 0, 0x3F800000, 0, 0, 0, 0, 108, 40, 148, bits,
                                                         2, 1}) + dib, QSize(4, 2)), top},
        {"DIB stretch block transfer", Wmf().rec(0x0B41, words({0x0020, 0x00CC, 1, 2, 0, 1, 1, 2, 0, 0}) + dib)
                                           .placeable(QRect(0, 0, 4, 2)), top},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage image = render(c.data);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(at(image, 0, 0), c.expected[0]);
        EXPECT_EQ(at(image, 1, 0), c.expected[1]);
        EXPECT_EQ(at(image, 2, 0), kWhite);
    }
}

TEST(MetafilePlayer, RasterOperations_CombineWithThePicture)
{
    // A red rectangle under a 4 x 2 bitmap of white and black, drawn with each operation.
    const QByteArray dib = packedDib(twoColours(), 24);
    struct Case { quint32 rop; QRgb overWhitePixel; QRgb overBlackPixel; };
    const Case cases[] = {
        {0x00CC0020, kWhite, kBlack},        // source copy
        {0x00EE0086, kWhite, kRed},          // source or destination
        {0x008800C6, kRed, kBlack},          // source and destination
        {0x00660046, 0xFF00FFFFu, kRed},     // source xor destination
        {0x00330008, kBlack, kWhite},        // inverted source
        {0x00000042, kBlack, kBlack},        // blackness
        {0x00FF0062, kWhite, kWhite},        // whiteness
        {0x00F00021, kBlue, kBlue},          // pattern copy with the blue brush
        {0x00550009, 0xFF00FFFFu, 0xFF00FFFFu},  // inverted destination
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rop);
        QByteArray params = words({int(c.rop & 0xFFFF), int(c.rop >> 16), 2, 4, 0, 0, 2, 4, 0, 0});
        // A null pen fills one pixel less to the right and below: 0,0-5,3 fills 4 x 2.
        const QByteArray data = Wmf().pen(5, 0, kBlack).brush(0, kRed).brush(0, kBlue).select(0).select(1)
                                    .rectangle(0, 0, 5, 3).select(2).rec(0x0B41, params + dib)
                                    .placeable(QRect(0, 0, 4, 2));
        const QImage image = render(data);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(at(image, 1, 0), c.overWhitePixel);  // the bitmap's white pixel
        EXPECT_EQ(at(image, 0, 0), c.overBlackPixel);  // its black pixel
    }
}

TEST(MetafilePlayer, UnknownRecords_AreSkipped)
{
    const QImage wmf = render(Wmf().brush(0, kGreen).select(0).rec(0x0FFF, {1, 2, 3}).rectangle(0, 0, 4, 4)
                                  .placeable(QRect(0, 0, 4, 4)));
    const QImage emf = render(Emf().brush(1, 0, kGreen).select(1).rec(999, {1, 2, 3})
                                  .rec(70, QByteArray("\x08\0\0\0EMF+\x01\x40\0\0", 12)).rectangle(0, 0, 4, 4)
                                  .file(QSize(4, 4)));
    for (const QImage& image : {wmf, emf}) {
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(at(image, 1, 1), kGreen);
    }
}

TEST(MetafilePlayer, Objects_TakeTheLowestFreeSlot)
{
    // Brush 0 red, brush 1 green; deleting 0 makes the next brush (blue) take slot 0.
    const QImage image = render(Wmf().brush(0, kRed).brush(0, kGreen).rec(0x01F0, {0}).brush(0, kBlue)
                                    .select(0).rectangle(0, 0, 4, 4).select(1).rectangle(4, 0, 8, 4)
                                    .placeable(QRect(0, 0, 8, 4)));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(at(image, 1, 1), kBlue);
    EXPECT_EQ(at(image, 6, 1), kGreen);
}

TEST(MetafilePlayer, Text_LeavesDarkPixelsOnlyWithAGuiApplication)
{
    const QByteArray text("Hello", 5);
    QByteArray params = words({int(text.size())}) + text + '\0' + words({2, 2});
    const QByteArray wmf = Wmf().rec(0x02FB, words({-20, 0, 0, 0, 700, 0, 0, 0, 0}) + QByteArray("Arial\0", 6))
                               .select(0).rec(0x0102, {1}).rec(0x0521, params).placeable(QRect(0, 0, 80, 30));
    QByteArray wide;
    for (char ch : QByteArray("Hello"))
        add16(wide, ch);
    QByteArray emfText = dwords({0, 0, 80, 30, 1, 0, 0, 2, 2, 5, 76, 0, 0, 0, 0, 0, 0});
    emfText += wide;
    const QByteArray emf = Emf().rec(82, dwords({1, -20, 0, 0, 0, 700, 0}) + QByteArray(68, '\0'))
                               .select(1).rec(84, emfText).file(QSize(80, 30));

    auto darkPixels = [](const QImage& image) {
        int dark = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                dark += qGray(image.pixel(x, y)) < 128;
        return dark;
    };
    std::unique_ptr<QGuiApplication> app;
    if (!QCoreApplication::instance()) {
        // Without an application there is no font database: the text is left out, no crash.
        for (const QByteArray& data : {wmf, emf})
            EXPECT_EQ(darkPixels(render(data)), 0);
        static int argc = 1;
        static char name[] = "MetafilePlayerTest";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    for (const QByteArray& data : {wmf, emf}) {
        const QImage image = render(data);
        ASSERT_FALSE(image.isNull());
        EXPECT_GT(darkPixels(image), 20);
        // The text lies below and right of its reference point (top-left alignment).
        EXPECT_EQ(darkPixels(image.copy(0, 0, 80, 2)), 0);
        EXPECT_EQ(darkPixels(image.copy(0, 0, 2, 30)), 0);
    }
}

TEST(MetafilePlayer, DamagedData_EndsWithAReason)
{
    const QByteArray goodWmf = Wmf().rectangle(0, 0, 4, 4).placeable(QRect(0, 0, 4, 4));
    const QByteArray goodEmf = Emf().rectangle(0, 0, 4, 4).file(QSize(4, 4));
    auto patched = [](QByteArray b, int offset, qint64 value) {
        qToLittleEndian<quint32>(quint32(value), b.data() + offset);
        return b;
    };
    const int firstWmfRecord = 22 + 18, firstEmfRecord = 108;
    struct Case { const char* name; QByteArray data; MetafileLimits limits; };
    MetafileLimits fewRecords;
    fewRecords.maxRecords = 1;
    MetafileLimits smallPictures;
    smallPictures.maxPixels = 10;
    const Case cases[] = {
        {"empty", QByteArray(), {}},
        {"not a metafile", QByteArray(64, 'x'), {}},
        {"placeable header only", goodWmf.left(30), {}},
        {"no units per inch", Wmf().placeable(QRect(0, 0, 4, 4), 0), {}},
        {"empty bounding box", Wmf().placeable(QRect(0, 0, 0, 4)), {}},
        {"zero-size record", patched(goodWmf, firstWmfRecord, 0), {}},
        {"record below minimum", patched(goodWmf, firstWmfRecord, 2), {}},
        {"record past the end", patched(goodWmf, firstWmfRecord, 0x7FFFFFFF), {}},
        {"plain without window extent", Wmf().rectangle(0, 0, 4, 4).plain(), {}},
        {"enhanced header cut", goodEmf.left(100), {}},
        {"enhanced header size too small", patched(goodEmf, 4, 40), {}},
        {"enhanced zero-size record", patched(goodEmf, firstEmfRecord + 4, 0), {}},
        {"enhanced record past the end", patched(goodEmf, firstEmfRecord + 4, 0x7FFFFFF0), {}},
        {"enhanced empty frame and bounds", Emf().fileWith(QRect(5, 5, 0, 0), QRect(0, 0, 0, 0)), {}},
        {"giant picture", Emf().fileWith(QRect(0, 0, 1, 1), QRect(0, 0, 0x7FFFFFFF, 0x7FFFFFFF)), {}},
        {"over the pixel limit", goodEmf, smallPictures},
        {"too many records", Emf().rectangle(0, 0, 1, 1).rectangle(1, 1, 2, 2).file(QSize(4, 4)), fewRecords},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const MetafileReadResult r = ReadMetafile(c.data, c.limits);
        EXPECT_FALSE(r.error.isEmpty());
        EXPECT_TRUE(r.image.isNull());
    }
}

TEST(MetafilePlayer, DamagedRecords_AreSkippedAndPlayingGoesOn)
{
    // Each record below is broken inside; the green rectangle drawn after it must still show.
    QByteArray lyingDib = packedDib(eightColours(), 24);
    qToLittleEndian<quint32>(100000, lyingDib.data() + 4);  // width far beyond the pixels given
    QByteArray hugeDib = lyingDib;
    qToLittleEndian<quint32>(0x7FFFFFFF, hugeDib.data() + 8);
    struct Case { const char* name; QByteArray record; };
    const Case wmfCases[] = {
        {"polygon count past the record", Wmf().rec(0x0324, {30000, 1, 1}).records},
        {"negative polygon count", Wmf().rec(0x0324, {-5, 1, 1}).records},
        {"poly-polygon counts past the record", Wmf().rec(0x0538, {3, 20000, 20000, 20000}).records},
        {"text count past the record", Wmf().rec(0x0521, {32000, 0x4141}).records},
        {"lying bitmap header", Wmf().rec(0x0940, words({0x0020, 0x00CC, 0, 0, 2, 4, 0, 0}) + lyingDib).records},
        {"huge bitmap header", Wmf().rec(0x0F43, words({0x0020, 0x00CC, 0, 2, 4, 0, 0, 2, 4, 0, 0}) + hugeDib).records},
        {"object index out of range", Wmf().select(60000).rec(0x01F0, {60000}).records},
        {"restore of a state never saved", Wmf().rec(0x0127, {-30}).rec(0x0127, {7}).records},
        {"giant extents", Wmf().rec(0x0103, {8}).rec(0x020C, {1, 32767}).rec(0x020E, {32767, 1}).records},
        {"arc with an empty box", Wmf().rec(0x0817, {0, 0, 5, 5, 3, 3, 3, 3}).records},
        {"truncated record", Wmf().rec(0x041B, {1}).records},
    };
    for (const Case& c : wmfCases) {
        SCOPED_TRACE(c.name);
        Wmf w;
        w.records = c.record;
        w.rec(0x0103, {8}).rec(0x020B, {0, 0}).rec(0x020C, {4, 4}).rec(0x020E, {4, 4})
            .rec(0x020D, {0, 0}).rec(0x0127, {-1}).brush(0, kGreen).select(0).select(1)
            .select(2).rectangle(0, 0, 4, 4);
        const MetafileReadResult r = ReadMetafile(w.placeable(QRect(0, 0, 4, 4), 96, 4));
        ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
        // The brush may have gone to another slot: any of the three selections finds it.
        EXPECT_EQ(at(r.image, 1, 1), kGreen);
    }

    const Case emfCases[] = {
        {"point count past the record", Emf().rec(3, {0, 0, 1, 1, 0x7FFFFFFF, 1, 1}).records},
        {"poly-polygon totals lie", Emf().rec(8, {0, 0, 1, 1, 0x40000000, 0x40000000, 5}).records},
        {"handle out of range", Emf().pen(70000, 0, 0, kRed).select(70000).rec(40, {0x7FFFFFFF}).records},
        {"text offsets outside", Emf().rec(84, {0, 0, 1, 1, 1, 0, 0, 0, 0, 0x7FFFFFFF, 0x7FFFFFF0, 0, 0, 0, 0, 0,
                                                0x7FFFFFF0}).records},
        {"bitmap offsets outside", Emf().rec(81, {0, 0, 1, 1, 0, 0, 0, 0, 4, 2, 0x7FFFFFF0, 40, 0x7FFFFFF0, 40, 0,
                                                  0x00CC0020, 4, 2}).records},
        {"region count lies", Emf().rec(75, {48, 5, 32, 1, 0x7FFFFFFF, 0, 0, 0, 4, 4, 0, 0, 4, 4}).records},
        {"huge world transform", Emf().rec(35, {0x7F000000, 0, 0, 0x7F000000, 0, 0}).rectangle(0, 0, 1, 1)
                                      .rec(35, {0x7FC00000, 0, 0, 0x3F800000, 0, 0}).rec(36, {0, 0, 0, 0, 0, 0, 1})
                                      .records},
        {"giant font", Emf().rec(82, dwords({1, -0x7FFFFFFF, 0, 0, 0, 700, 0}) + QByteArray(68, '\0')).select(1)
                           .records},
    };
    for (const Case& c : emfCases) {
        SCOPED_TRACE(c.name);
        Emf e;
        e.records = c.record;
        e.brush(2, 0, kGreen).select(2).rectangle(0, 0, 4, 4);
        const MetafileReadResult r = ReadMetafile(e.file(QSize(4, 4)));
        ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
        EXPECT_EQ(at(r.image, 1, 1), kGreen);
    }
}

TEST(MetafilePlayer, PlayMetafile_ScalesThePictureIntoTheTarget)
{
    const QByteArray data = Emf().select(0x80000008).select(0x80000004).rectangle(0, 0, 5, 10).file(QSize(10, 10));
    QImage image(40, 20, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QString error;
    {
        QPainter painter(&image);
        ASSERT_TRUE(PlayMetafile(data, painter, QRectF(20, 0, 20, 20), &error)) << error.toStdString();
    }
    EXPECT_EQ(at(image, 25, 10), kBlack);
    EXPECT_EQ(at(image, 35, 10), kWhite);
    EXPECT_EQ(at(image, 10, 10), kWhite);

    QPainter idle;
    EXPECT_FALSE(PlayMetafile(data, idle, QRectF(0, 0, 10, 10), &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
