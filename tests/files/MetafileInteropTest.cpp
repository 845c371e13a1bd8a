// The record player on metafiles from elsewhere: our own writers' files come back as the
// very picture, and files LibreOffice and libEMF made show their shapes, text and bitmaps
// where and how those programs drew them.
#include "files/MetafilePlayer.h"
#include "files/MetafileWriter.h"

#include "BitmapTestSupport.h"

#include <QBuffer>
#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

using namespace px;
using namespace px::bmptest;

namespace {

QByteArray fixture(const QString& name)
{
    QFile f(QStringLiteral(PIXMORA_TEST_DATA "/metafiles/") + name);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
    return f.readAll();
}

QImage fixtureImage(const QString& name)
{
    return QImage(QStringLiteral(PIXMORA_TEST_DATA "/metafiles/") + name).convertToFormat(QImage::Format_RGB32);
}

int channelDistance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

bool isDark(QRgb c) { return std::max({qRed(c), qGreen(c), qBlue(c)}) < 100; }

// A colour expected near a point: some pixel within `reach` of it has that colour within
// `tolerance` per channel. Reach 0 checks the pixel itself (inside a filled shape); thin
// lines get reach 1, as rasterisers place them half a pixel apart, and one-pixel lines a
// wider tolerance, as anti-aliasing may spread them over two pixels at half strength.
struct ColourAt {
    const char* what;
    QPoint at;
    QRgb colour;
    int reach = 0;
    int tolerance = 40;
};

::testing::AssertionResult showsColour(const QImage& image, const ColourAt& c)
{
    const int tolerance = c.tolerance;
    int best = 256;
    for (int dy = -c.reach; dy <= c.reach; ++dy)
        for (int dx = -c.reach; dx <= c.reach; ++dx) {
            const QPoint p = c.at + QPoint(dx, dy);
            if (image.rect().contains(p))
                best = std::min(best, channelDistance(image.pixel(p), c.colour));
        }
    if (best <= tolerance)
        return ::testing::AssertionSuccess();
    const QRgb seen = image.rect().contains(c.at) ? image.pixel(c.at) : 0;
    return ::testing::AssertionFailure() << c.what << " at (" << c.at.x() << "," << c.at.y() << "): expected #" << std::hex
                                         << (c.colour & 0xFFFFFF) << ", seen #" << (seen & 0xFFFFFF);
}

int darkPixels(const QImage& image, const QRect& box)
{
    int n = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            n += image.rect().contains(x, y) && isDark(image.pixel(x, y));
    return n;
}

// How far `c` lies from the nearest blend of `a` and `b` (the colours an anti-aliased edge
// between them takes), as the largest channel difference.
int distanceToBlend(QRgb c, QRgb a, QRgb b)
{
    const double d[3] = {double(qRed(b) - qRed(a)), double(qGreen(b) - qGreen(a)), double(qBlue(b) - qBlue(a))};
    const double v[3] = {double(qRed(c) - qRed(a)), double(qGreen(c) - qGreen(a)), double(qBlue(c) - qBlue(a))};
    const double length = d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
    const double t = length > 0 ? std::clamp((v[0] * d[0] + v[1] * d[1] + v[2] * d[2]) / length, 0.0, 1.0) : 0.0;
    double worst = 0;
    for (int i = 0; i < 3; ++i)
        worst = std::max(worst, std::abs(v[i] - t * d[i]));
    return int(worst + 0.5);
}

// True when `colour` is, within 40 per channel, one of the colours of `img` at most one pixel
// from p, or a blend of two of them.
bool matchesNear(const QImage& img, QPoint p, QRgb colour)
{
    QList<QRgb> around;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (img.rect().contains(p + QPoint(dx, dy)))
                around.append(img.pixel(p + QPoint(dx, dy)));
    for (int i = 0; i < around.size(); ++i)
        for (int j = i; j < around.size(); ++j)
            if (distanceToBlend(colour, around[i], around[j]) <= 40)
                return true;
    return false;
}

// Agreement with the drawing program's own rendering, outside `skip` (the text, whose glyphs
// depend on the fonts at hand): a pixel agrees when the other picture shows its colour, or a
// blend of two of its colours, at most one pixel away, both ways. That forgives anti-aliased
// or hard edges and half-pixel placement, but not a missing, shifted or miscoloured shape.
// Returns the share of agreeing pixels over the area both pictures cover.
double agreement(const QImage& ours, const QImage& theirs, const QRect& skip)
{
    const QRect area = ours.rect() & theirs.rect();
    int compared = 0, agreeing = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            if (skip.contains(x, y))
                continue;
            ++compared;
            agreeing += matchesNear(theirs, {x, y}, ours.pixel(x, y)) && matchesNear(ours, {x, y}, theirs.pixel(x, y));
        }
    return compared ? double(agreeing) / compared : 0.0;
}

struct Fixture {
    const char* file;
    MetafileFormat format;
    QSize size;                  // own size in pixels at 96 dots per inch
    QList<ColourAt> colours;     // shapes and bitmap pixels at known places
    QRect text;                  // where the text "Pixmora" is drawn in black
    // Share of the pixels outside the text that agree with the tool's own rendering. The WMF
    // keeps 16-bit coordinates in its own units: the thick line's width and the bitmap's
    // place round to a pixel differently from LibreOffice's renderer (a 2-pixel shift of the
    // whole picture scores 0.92 to 0.98).
    double agreement = 0.98;
};

// LibreOffice cut its drawing to the shapes' extent: everything sits 6.65 pixels up and
// left of where the drawing had it (the background, drawn from -6.65, shows that).
const QList<ColourAt> kLibreOfficeColours = {
    {"background", {2, 2}, qRgb(0xF4, 0xF0, 0xE0)},
    {"background", {184, 130}, qRgb(0xF4, 0xF0, 0xE0)},
    {"red rectangle", {33, 23}, qRgb(0xFF, 0, 0)},
    {"red rectangle corner", {5, 5}, qRgb(0xFF, 0, 0)},
    {"blue ellipse", {133, 28}, qRgb(0, 0, 0xFF)},
    {"beside the ellipse", {92, 8}, qRgb(0xF4, 0xF0, 0xE0)},
    {"green line", {90, 63}, qRgb(0, 0xA0, 0)},
    {"black line", {28, 103}, qRgb(0, 0, 0), 1},
    {"bitmap orange quarter", {157, 117}, qRgb(0xFF, 0x80, 0)},
    {"bitmap teal quarter", {165, 117}, qRgb(0, 0xC0, 0xC0)},
    {"bitmap purple quarter", {157, 125}, qRgb(0x80, 0, 0x80)},
    {"bitmap yellow quarter", {165, 125}, qRgb(0xFF, 0xFF, 0)},
};

const QList<Fixture> kFixtures = {
    {"lo_shapes.wmf", MetafileFormat::Placeable, {187, 137}, kLibreOfficeColours, QRect(62, 80, 100, 30), 0.97},
    {"lo_shapes.emf", MetafileFormat::Enhanced, {187, 137}, kLibreOfficeColours, QRect(62, 80, 100, 30)},
    {"libemf_shapes.emf",
     MetafileFormat::Enhanced,
     {200, 150},
     {
         {"grey background", {5, 5}, qRgb(0xD0, 0xD0, 0xD0)},
         {"grey background", {195, 145}, qRgb(0xD0, 0xD0, 0xD0)},
         {"red rectangle", {40, 30}, qRgb(0xFF, 0, 0)},
         {"rectangle outline", {10, 30}, qRgb(0, 0, 0), 1, 120},
         {"blue triangle", {140, 25}, qRgb(0, 0, 0xFF)},
         {"beside the triangle's tip", {120, 50}, qRgb(0xD0, 0xD0, 0xD0)},
         {"green line", {100, 75}, qRgb(0, 0xA0, 0)},
         {"magenta polyline", {20, 115}, qRgb(0xFF, 0, 0xFF), 1},
         {"yellow ellipse", {170, 120}, qRgb(0xFF, 0xFF, 0)},
         {"ellipse outline", {150, 120}, qRgb(0, 0, 0), 1, 120},
     },
     QRect(68, 91, 78, 24)},
};

} // namespace

TEST(MetafileInterop, OtherProgramsFiles_ShowShapesBitmapsAndTextWhereTheyDrewThem)
{
    for (const Fixture& fx : kFixtures) {
        SCOPED_TRACE(fx.file);
        const QByteArray data = fixture(QString::fromLatin1(fx.file));
        EXPECT_EQ(DetectMetafileFormat(data), fx.format);
        EXPECT_EQ(MetafileSize(data), fx.size);
        const MetafileReadResult r = ReadMetafile(data);
        ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
        EXPECT_EQ(r.format, fx.format);
        ASSERT_EQ(r.image.size(), fx.size);
        const QImage shown = r.image.convertToFormat(QImage::Format_RGB32);
        for (const ColourAt& c : fx.colours)
            EXPECT_TRUE(showsColour(shown, c));

        // The text: dark pixels in its box, about as many as LibreOffice shows (fonts differ
        // from machine to machine, so a third more or less), and none just above it.
        const QImage reference = fixtureImage(QStringLiteral("%1.lo.png").arg(QString::fromLatin1(fx.file)));
        ASSERT_FALSE(reference.isNull());
        const int ours = darkPixels(shown, fx.text), theirs = darkPixels(reference, fx.text);
        EXPECT_GT(theirs, 150);
        EXPECT_GE(ours, theirs * 2 / 3) << "text pixels: ours " << ours << ", LibreOffice's " << theirs;
        EXPECT_LE(ours, theirs * 4 / 3) << "text pixels: ours " << ours << ", LibreOffice's " << theirs;
        EXPECT_EQ(darkPixels(shown, fx.text.translated(0, -fx.text.height()).adjusted(0, 0, 0, -2)), 0);

        EXPECT_GE(agreement(shown, reference, fx.text), fx.agreement) << fx.file;
    }
}

// What our writers store comes back through the player as the same pixels at the same size.
TEST(MetafileInterop, OurWmfAndEmf_PlayBackAsThePicture)
{
    using Writer = std::function<bool(const QImage&, QIODevice&)>;
    const QList<std::tuple<const char*, MetafileFormat, Writer>> writers = {
        {"wmf", MetafileFormat::Placeable, [](const QImage& i, QIODevice& d) { return WriteWmf(i, d); }},
        {"emf", MetafileFormat::Enhanced,
         [](const QImage& i, QIODevice& d) { return WriteEmf(i, kEmfDescriptionSaveAs, d); }},
        {"emf without description", MetafileFormat::Enhanced,
         [](const QImage& i, QIODevice& d) { return WriteEmf(i, QString(), d); }},
    };
    const QList<QImage> pictures = {colourful(37, 23), colourful(1, 1), flat(5, 12, 97), colourful(300, 7)};
    for (const auto& [name, format, write] : writers)
        for (const QImage& picture : pictures) {
            SCOPED_TRACE(testing::Message() << name << " " << picture.width() << "x" << picture.height());
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            ASSERT_TRUE(write(picture, buffer));
            EXPECT_EQ(MetafileSize(buffer.data()), picture.size());
            const MetafileReadResult r = ReadMetafile(buffer.data());
            ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
            EXPECT_EQ(r.format, format);
            EXPECT_EQ(r.size, picture.size());
            EXPECT_TRUE(samePixels(r.image, picture));
        }
}
