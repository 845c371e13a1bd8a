// Thumbnail box checks and where the picture lands inside the box.
#include "files/Thumbnails.h"

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
