#include "picture/FileTypeLabel.h"
#include "picture/Picture.h"

#include <gtest/gtest.h>

using namespace px;

namespace {

QImage Filled(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

} // namespace

TEST(Picture, IsEditableOnlyWhileItHoldsExactlyAPlainBitmap)
{
    const struct {
        GraphicKind kind;
        bool editable;
    } cases[] = {
        {GraphicKind::Bitmap, true}, {GraphicKind::Pxg, false}, {GraphicKind::Tif, false},
        {GraphicKind::Jpeg, false},  {GraphicKind::Gif, false}, {GraphicKind::Png, false},
        {GraphicKind::Wmf, false},   {GraphicKind::Emf, false}, {GraphicKind::Icon, false},
    };
    for (const auto& c : cases) {
        TPicture picture;
        ASSERT_TRUE(picture.setGraphic(c.kind, Filled({4, 3}, Qt::red), "bytes"));
        EXPECT_EQ(picture.isEditable(), c.editable) << int(c.kind);
        EXPECT_FALSE(picture.isEmpty()) << int(c.kind);
        EXPECT_EQ(picture.size(), QSize(4, 3));
    }
    TPicture empty;
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_FALSE(empty.isEditable());
    EXPECT_EQ(empty.size(), QSize(0, 0));
}

TEST(Picture, RefusesANullImageAndKeepsTheCurrentPicture)
{
    TPicture picture;
    ASSERT_TRUE(picture.setBitmap(Filled({2, 2}, Qt::blue), PixelFormat::Bit8, true));

    EXPECT_FALSE(picture.setBitmap(QImage()));
    EXPECT_FALSE(picture.setGraphic(GraphicKind::Jpeg, QImage(), "jpeg bytes"));

    EXPECT_EQ(picture.kind(), GraphicKind::Bitmap);
    EXPECT_EQ(picture.image().pixelColor(1, 1), QColor(Qt::blue));
    EXPECT_EQ(picture.pixelFormat(), PixelFormat::Bit8);
    EXPECT_TRUE(picture.isMonochrome());
}

TEST(Picture, KeepsTheFileBytesForEveryKindButAPlainBitmap)
{
    TPicture picture;
    ASSERT_TRUE(picture.setGraphic(GraphicKind::Jpeg, Filled({2, 2}, Qt::red), "\xff\xd8 jpeg"));
    EXPECT_EQ(picture.originalBytes(), QByteArray("\xff\xd8 jpeg"));

    ASSERT_TRUE(picture.setGraphic(GraphicKind::Bitmap, Filled({2, 2}, Qt::red), "BM stale"));
    EXPECT_TRUE(picture.originalBytes().isEmpty());

    ASSERT_TRUE(picture.setGraphic(GraphicKind::Gif, Filled({2, 2}, Qt::red), "GIF89a"));
    picture.clear();
    EXPECT_TRUE(picture.isEmpty());
    EXPECT_TRUE(picture.image().isNull());
    EXPECT_TRUE(picture.originalBytes().isEmpty());
    EXPECT_EQ(picture.kind(), GraphicKind::None);
}

TEST(FileTypeLabel, ReadsAsTheStatusBarShowsIt)
{
    const struct {
        QString label;
        QString expected;
    } cases[] = {
        {NoPictureLabel(), "- - -"},
        {MemoryBitmapLabel(), "|bmp|"},
        {ConvertedBitmapLabel("png"), "|bmp| - png"},
        {ConvertedBitmapLabel(".jpeg"), "|bmp| - jpg"},
        {OwnFormatLabel("JPG"), "jpg"},
        {OwnFormatLabel("jpe"), "jpg"},
        {OwnFormatLabel(".gif"), "gif"},
        {OwnFormatLabel("TIF"), "TIF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.label, c.expected);
}

TEST(FileTypeLabel, JpgLabelIsExactlyJpg)
{
    EXPECT_TRUE(isJpgLabel("jpg"));
    for (const char* other : {"|bmp| - jpg", "JPG", "jpeg", "jpg ", "", "- - -"})
        EXPECT_FALSE(isJpgLabel(other)) << other;
}
