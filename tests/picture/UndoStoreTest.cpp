#include "picture/UndoStore.h"

#include <gtest/gtest.h>

#include <vector>

using namespace px;

namespace {

QImage Filled(QColor colour, QSize size = {6, 4})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QColor ColourOf(const TPicture& picture) { return picture.image().pixelColor(0, 0); }

} // namespace

TEST(UndoStore, TwoEditsThenUndoRestoreTheStateAfterTheFirstEditAndDisableUndo)
{
    TPicture picture;
    picture.setBitmap(Filled(Qt::red));
    UndoStore undo;
    EXPECT_FALSE(undo.canUndo());

    ASSERT_TRUE(undo.save(picture)); // before the first edit
    picture.setBitmap(Filled(Qt::green));
    ASSERT_TRUE(undo.save(picture)); // before the second edit
    picture.setBitmap(Filled(Qt::blue));

    const TPicture restored = undo.restore();
    EXPECT_EQ(restored.kind(), GraphicKind::Bitmap);
    EXPECT_EQ(ColourOf(restored), QColor(Qt::green));
    EXPECT_FALSE(undo.canUndo());
    EXPECT_TRUE(undo.restore().isEmpty());
}

TEST(UndoStore, KeepsItsOwnPixelsWhenThePictureBufferIsReused)
{
    // A capture may hand over pixels that live in a buffer it reuses for the next grab.
    std::vector<uchar> buffer(4 * 3 * 4, 0x20);
    TPicture picture;
    picture.setBitmap(QImage(buffer.data(), 4, 3, 16, QImage::Format_RGB32));
    UndoStore undo;
    ASSERT_TRUE(undo.save(picture));

    std::fill(buffer.begin(), buffer.end(), uchar(0xF0));

    EXPECT_EQ(undo.restore().image().pixel(3, 2), qRgb(0x20, 0x20, 0x20));
}

TEST(UndoStore, FailedCopyEmptiesTheStoreInsteadOfKeepingAnOlderState)
{
    bool outOfMemory = false;
    UndoStore undo([&](const QImage& image) { return outOfMemory ? QImage() : image.copy(); });
    TPicture picture;
    picture.setBitmap(Filled(Qt::red));
    ASSERT_TRUE(undo.save(picture));

    outOfMemory = true;
    picture.setBitmap(Filled(Qt::green));
    EXPECT_FALSE(undo.save(picture));
    EXPECT_FALSE(undo.canUndo());
    EXPECT_TRUE(undo.restore().isEmpty());
}

TEST(UndoStore, EmptyPictureLeavesTheHeldStateAlone)
{
    UndoStore undo;
    TPicture empty;
    EXPECT_FALSE(undo.save(empty));

    TPicture picture;
    picture.setBitmap(Filled(Qt::red));
    ASSERT_TRUE(undo.save(picture));
    EXPECT_TRUE(undo.save(empty));
    EXPECT_EQ(ColourOf(undo.restore()), QColor(Qt::red));
}

TEST(UndoStore, RestoresEveryKindAsAPlainBitmapWithTheBitmapsDeclaredFormat)
{
    const struct {
        GraphicKind kind;
        PixelFormat format;
        bool monochrome;
        PixelFormat restoredFormat;
        bool restoredMonochrome;
    } cases[] = {
        {GraphicKind::Bitmap, PixelFormat::Bit1, true, PixelFormat::Bit1, true},
        {GraphicKind::Pxg, PixelFormat::Bit8, false, PixelFormat::Bit8, false},
        {GraphicKind::Jpeg, PixelFormat::Bit24, false, PixelFormat::Device, false},
        {GraphicKind::Wmf, PixelFormat::Device, true, PixelFormat::Device, false},
    };
    for (const auto& c : cases) {
        TPicture picture;
        picture.setGraphic(c.kind, Filled(Qt::yellow), "file bytes", c.format, c.monochrome);
        UndoStore undo;
        ASSERT_TRUE(undo.save(picture));
        const TPicture restored = undo.restore();
        EXPECT_EQ(restored.kind(), GraphicKind::Bitmap) << int(c.kind);
        EXPECT_TRUE(restored.isEditable());
        EXPECT_TRUE(restored.originalBytes().isEmpty());
        EXPECT_EQ(restored.pixelFormat(), c.restoredFormat) << int(c.kind);
        EXPECT_EQ(restored.isMonochrome(), c.restoredMonochrome) << int(c.kind);
    }
}

TEST(UndoStore, RefitsOnlyWhenNarrowerAndLowerThanTheScreen)
{
    const QSize screen(1920, 1080);
    const struct {
        QSize picture;
        bool refit;
    } cases[] = {
        {{800, 600}, true},     {{1919, 1079}, true}, {{1920, 600}, false},
        {{800, 1080}, false},   {{2500, 600}, false}, {{800, 1500}, false},
        {{4000, 3000}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShouldRefitAfterUndo(c.picture, screen), c.refit)
            << c.picture.width() << "x" << c.picture.height();
}
