// Thumbnail box checks, where the picture lands inside the box, and the two makers.
#include "files/Thumbnails.h"

#include "files/PictureFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace px;

TEST(Thumbnails, BoxWidthIsCheckedBeforeHeight)
{
    EXPECT_EQ(ThumbnailBoxError(0, 0), QStringLiteral("Ungültige Breite"));
    EXPECT_EQ(ThumbnailBoxError(-5, 100), QStringLiteral("Ungültige Breite"));
    EXPECT_EQ(ThumbnailBoxError(100, 0), QStringLiteral("Ungültige Höhe"));
    EXPECT_EQ(ThumbnailBoxError(100, -1), QStringLiteral("Ungültige Höhe"));
    EXPECT_TRUE(ThumbnailBoxError(1, 1).isEmpty());
}

TEST(Thumbnails, PictureKeepsItsProportionsInsideEveryBox)
{
    const struct {
        int pictureWidth, pictureHeight, boxWidth, boxHeight;
        QRect expected;
    } table[] = {
        // Square boxes: the longer side fills the box, the other is centred.
        {200, 100, 100, 100, QRect(0, 25, 100, 50)},
        {100, 200, 100, 100, QRect(25, 0, 50, 100)},
        {50, 50, 100, 100, QRect(0, 0, 100, 100)},
        // Halves round to even: 10/4 = 2.5 -> 2, 14/4 = 3.5 -> 4; offsets truncate.
        {4, 1, 10, 10, QRect(0, 4, 10, 2)},
        {4, 1, 14, 14, QRect(0, 5, 14, 4)},
        {1, 4, 10, 10, QRect(4, 0, 2, 10)},
        {3, 2, 101, 101, QRect(0, 17, 101, 67)},
        // Boxes that are not square: the side that would overflow is fitted instead.
        {200, 100, 100, 30, QRect(20, 0, 60, 30)},
        {200, 100, 300, 100, QRect(50, 0, 200, 100)},
        {100, 200, 30, 100, QRect(0, 20, 30, 60)},
        {100, 200, 100, 300, QRect(0, 50, 100, 200)},
        {50, 50, 100, 30, QRect(35, 0, 30, 30)},
        {50, 50, 30, 100, QRect(0, 35, 30, 30)},
        // Extreme ratios still show at least one pixel, centred, and never leave the box.
        {1000, 1, 10, 10, QRect(0, 4, 10, 1)},
        {1, 2000000000, 100, 100, QRect(49, 0, 1, 100)},
        {2000000000, 1, 1, 1000000, QRect(0, 499999, 1, 1)},
    };
    for (const auto& row : table) {
        const QRect placed =
            ThumbnailPictureRect(row.pictureWidth, row.pictureHeight, row.boxWidth, row.boxHeight);
        EXPECT_EQ(placed, row.expected) << row.pictureWidth << "x" << row.pictureHeight << " in "
                                        << row.boxWidth << "x" << row.boxHeight;
        EXPECT_TRUE(QRect(0, 0, row.boxWidth, row.boxHeight).contains(placed));
    }
}

TEST(Thumbnails, EmptyPictureOrBoxPlacesNothing)
{
    EXPECT_TRUE(ThumbnailPictureRect(0, 100, 100, 100).isEmpty());
    EXPECT_TRUE(ThumbnailPictureRect(100, -1, 100, 100).isEmpty());
    EXPECT_TRUE(ThumbnailPictureRect(100, 100, 0, 100).isEmpty());
    EXPECT_TRUE(ThumbnailPictureRect(100, 100, 100, 0).isEmpty());
}

// ---- The thumbnail makers ----

namespace {

constexpr QRgb kFill = 0xFF2040A0;

// Left half red, right half green: shows both the placement and the orientation.
QImage halves(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, x < w / 2 ? qRgb(230, 0, 0) : qRgb(0, 200, 0));
    return image;
}

bool close(QRgb a, QRgb b, int tolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance
        && std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

class ThumbnailMakers : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const char* name) const { return dir.filePath(name); }
    void write(const char* name, int fileType, const QImage& image) const
    {
        const PictureWriteResult r = WritePictureFile(fileType, image, 0, PictureWriteSettings{}, WriteOccasion::SaveAs,
                                                      path(name));
        ASSERT_TRUE(r.ok) << r.error.toStdString();
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(ThumbnailMakers, PictureIsStretchedIntoItsPlaceOnTheFillColour)
{
    write("wide.bmp", 0, halves(200, 100));
    write("wide.jpg", 1, halves(200, 100));
    write("big.jpg", 1, halves(1600, 800));  // decoded at a reduced scale
    using Maker = QString (*)(const QString&, const QString&, int, const QColor&, int);
    const struct {
        Maker maker;
        const char* source;
        const char* target;
        int boxWidth, boxHeight;
        QRect place;
        int tolerance;
    } cases[] = {
        {MakeBitmapThumbnail, "wide.bmp", "t1.bmp", 100, 100, QRect(0, 25, 100, 50), 0},
        {MakeBitmapThumbnail, "wide.bmp", "t2.bmp", 100, 30, QRect(20, 0, 60, 30), 0},
        {MakeBitmapThumbnail, "wide.jpg", "t3.bmp", 300, 100, QRect(50, 0, 200, 100), 30},
        {MakeJpegThumbnail, "wide.jpg", "t4.jpg", 100, 100, QRect(0, 25, 100, 50), 30},
        {MakeJpegThumbnail, "big.jpg", "t5.jpg", 100, 100, QRect(0, 25, 100, 50), 30},
        {MakeJpegThumbnail, "big.jpg", "t6.jpg", 64, 160, QRect(0, 64, 64, 32), 30},
    };
    for (const auto& c : cases) {
        const std::string what = std::string(c.source) + " into " + c.target;
        ASSERT_EQ(c.maker(path(c.source), path(c.target), c.boxWidth, QColor::fromRgb(kFill), c.boxHeight), QString())
            << what;
        const PictureReadResult back = ReadPictureFile(path(c.target));
        ASSERT_TRUE(back.error.isEmpty()) << what << ": " << back.error.toStdString();
        ASSERT_EQ(back.image.size(), QSize(c.boxWidth, c.boxHeight)) << what;
        // Lossless targets are checked on the edge pixels themselves; JPEG a few pixels inside.
        const int in = c.tolerance ? 3 : 0;
        const int midY = c.place.center().y();
        const int midX = c.place.center().x();
        const struct { int x, y; QRgb colour; } probes[] = {
            {c.place.left() + in, midY, qRgb(230, 0, 0)},
            {c.place.right() - in, midY, qRgb(0, 200, 0)},
            {c.place.left() + in, c.place.top() + in, qRgb(230, 0, 0)},
            {c.place.right() - in, c.place.bottom() - in, qRgb(0, 200, 0)},
            // Outside the place: the fill colour (where the box leaves room on that side).
            {c.place.left() > 0 ? c.place.left() - 1 - in : -1, midY, kFill},
            {c.place.right() < c.boxWidth - 1 ? c.place.right() + 1 + in : -1, midY, kFill},
            {midX, c.place.top() > 0 ? c.place.top() - 1 - in : -1, kFill},
            {midX, c.place.bottom() < c.boxHeight - 1 ? c.place.bottom() + 1 + in : -1, kFill},
        };
        for (const auto& p : probes) {
            if (p.x < 0 || p.y < 0)
                continue;
            EXPECT_TRUE(close(back.image.pixel(p.x, p.y), p.colour, c.tolerance))
                << what << " at " << p.x << "," << p.y << ": " << std::hex << back.image.pixel(p.x, p.y);
        }
    }
}

TEST_F(ThumbnailMakers, BadBoxOrSourceGivesTheErrorAndLeavesTheTargetAlone)
{
    write("ok.jpg", 1, halves(20, 10));
    write("ok.bmp", 0, halves(20, 10));
    QFile old(path("old.bmp"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();
    using Maker = QString (*)(const QString&, const QString&, int, const QColor&, int);
    const struct {
        Maker maker;
        const char* source;
        int boxWidth, boxHeight;
        QString error;  // the whole message, or its start
    } cases[] = {
        {MakeJpegThumbnail, "ok.jpg", 0, 0, "Ungültige Breite"},
        {MakeJpegThumbnail, "ok.jpg", -3, 10, "Ungültige Breite"},
        {MakeJpegThumbnail, "ok.jpg", 10, 0, "Ungültige Höhe"},
        {MakeBitmapThumbnail, "ok.bmp", 0, 10, "Ungültige Breite"},
        {MakeBitmapThumbnail, "ok.bmp", 10, -1, "Ungültige Höhe"},
        {MakeJpegThumbnail, "missing.jpg", 10, 10, "cannot read"},
        {MakeJpegThumbnail, "ok.bmp", 10, 10, "cannot read"},
        {MakeBitmapThumbnail, "missing.bmp", 10, 10, "cannot read"},
    };
    for (const auto& c : cases) {
        const QString error = c.maker(path(c.source), path("old.bmp"), c.boxWidth, Qt::white, c.boxHeight);
        EXPECT_TRUE(error.startsWith(c.error)) << c.source << " " << c.boxWidth << "x" << c.boxHeight << ": "
                                               << error.toStdString();
    }
    EXPECT_EQ(MakeBitmapThumbnail(path("ok.bmp"), path("no/folder/t.bmp"), 10, Qt::white, 10).left(12),
              QString("cannot write"));
    QFile check(path("old.bmp"));
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3) << "no temporary file left";
}
