// The capture overlay's geometry: the dragged region, the triangle, masking outside the shape,
// the shape background colours and the placement of the loupe and the coordinate hint.
#include "capture/OverlayGeometry.h"

#include <gtest/gtest.h>

#include <vector>

using namespace px;

namespace {

const QRgb kKept = qRgb(10, 20, 30);
const QRgb kRed = qRgb(255, 0, 0);

QImage picture(int w, int h, QImage::Format format = QImage::Format_RGB32)
{
    QImage img(w, h, format);
    img.fill(kKept);
    return img;
}

QRgb at(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xffffff; }

// Pixels that are neither the picture's own colour nor the background: a blended edge.
int blended(const QImage& img, QRgb background)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = at(img, x, y);
            n += p != (kKept & 0xffffff) && p != (background & 0xffffff);
        }
    return n;
}

} // namespace

TEST(OverlayGeometry, CaptureRegion_IsTheSameForEveryDragDirectionAndEmptyWithoutWidthOrHeight)
{
    struct Case {
        const char* name;
        QPoint start, end;
        QRect source;
        QSize size;
    };
    const QRect marked(10, 20, 100, 50);
    const std::vector<Case> cases{
        {"down-right", {10, 20}, {110, 70}, marked, {100, 50}},
        {"up-left", {110, 70}, {10, 20}, marked, {100, 50}},
        {"down-left", {110, 20}, {10, 70}, marked, {100, 50}},
        {"up-right", {10, 70}, {110, 20}, marked, {100, 50}},
        {"click", {40, 40}, {40, 40}, QRect(40, 40, 0, 0), {0, 0}},
        {"no width", {10, 20}, {10, 70}, QRect(10, 20, 0, 0), {0, 0}},
        {"no height (30-pixel keyboard drag)", {10, 20}, {40, 20}, QRect(10, 20, 0, 0), {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CaptureRegion r = CaptureRegionFor(c.start, c.end);
        EXPECT_EQ(r.source, c.source);
        EXPECT_EQ(r.size, c.size);
    }
}

TEST(OverlayGeometry, Triangle_HasItsBaseOnTheEndRowAndItsApexMidwayOnTheStartRow)
{
    const TrianglePoints down = TriangleFor({10, 20}, {31, 70});
    EXPECT_EQ(down.left, QPoint(10, 70));
    EXPECT_EQ(down.right, QPoint(31, 70));
    EXPECT_EQ(down.apex, QPoint(20, 20));

    const TrianglePoints up = TriangleFor({31, 70}, {10, 20});
    EXPECT_EQ(up.left, QPoint(31, 20));
    EXPECT_EQ(up.right, QPoint(10, 20));
    EXPECT_EQ(up.apex, QPoint(20, 70));
}

TEST(OverlayGeometry, Mask_TrianglePointsUpForADownwardDragAndDownForAnUpwardOne)
{
    for (const bool downward : {true, false}) {
        SCOPED_TRACE(downward ? "downward drag" : "upward drag");
        QImage img = picture(100, 60);
        MaskOutsideShape(img, ToolTriangle, downward, QColor(kRed));
        // The probes of a downward drag; an upward drag gives their mirror image.
        const auto row = [downward](int y) { return downward ? y : 59 - y; };
        EXPECT_EQ(at(img, 1, row(1)), kRed & 0xffffff);
        EXPECT_EQ(at(img, 98, row(1)), kRed & 0xffffff);
        EXPECT_EQ(at(img, 50, row(1)), kKept & 0xffffff);
        EXPECT_EQ(at(img, 50, row(58)), kKept & 0xffffff);
        EXPECT_EQ(at(img, 2, row(58)), kKept & 0xffffff);
        // Edges are not blended.
        EXPECT_EQ(blended(img, kRed), 0);
    }
}

TEST(OverlayGeometry, Mask_EllipseAndRoundedRectanglePaintTheCornersOnly)
{
    QImage ellipse = picture(100, 60);
    MaskOutsideShape(ellipse, ToolEllipse, true, QColor(kRed));
    for (const QPoint& corner : {QPoint(0, 0), QPoint(99, 0), QPoint(0, 59), QPoint(99, 59)})
        EXPECT_EQ(at(ellipse, corner.x(), corner.y()), kRed & 0xffffff) << corner.x() << "," << corner.y();
    EXPECT_EQ(at(ellipse, 50, 30), kKept & 0xffffff);
    EXPECT_EQ(at(ellipse, 50, 1), kKept & 0xffffff);
    EXPECT_EQ(blended(ellipse, kRed), 0);

    QImage rounded = picture(100, 60);
    MaskOutsideShape(rounded, ToolRoundRect, true, QColor(kRed));
    for (const QPoint& corner : {QPoint(1, 1), QPoint(98, 1), QPoint(1, 58), QPoint(98, 58)})
        EXPECT_EQ(at(rounded, corner.x(), corner.y()), kRed & 0xffffff) << corner.x() << "," << corner.y();
    // Edges beyond the 40-pixel corner ellipses are kept.
    for (const QPoint& edge : {QPoint(50, 0), QPoint(25, 0), QPoint(0, 30), QPoint(99, 30), QPoint(50, 59)})
        EXPECT_EQ(at(rounded, edge.x(), edge.y()), kKept & 0xffffff) << edge.x() << "," << edge.y();
    EXPECT_EQ(blended(rounded, kRed), 0);
}

TEST(OverlayGeometry, Mask_LeavesRectangleObjectAndColourlessMasksUntouchedAndKeepsSizeAndFormat)
{
    const QImage original = picture(100, 60);
    struct Case {
        const char* name;
        int tool;
        std::optional<QColor> background;
    };
    const std::vector<Case> cases{
        {"rectangle", ToolRectangle, QColor(kRed)},
        {"object", ToolObject, QColor(kRed)},
        {"ellipse, index 99", ToolEllipse, ShapeBackgroundColor(99, Qt::gray, Qt::yellow)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QImage img = original;
        MaskOutsideShape(img, c.tool, true, c.background);
        EXPECT_EQ(img, original);
    }

    // An indexed picture cannot be painted on directly: it is still masked and stays indexed.
    QImage indexed(100, 60, QImage::Format_Indexed8);
    indexed.setColorTable({kKept, qRgb(200, 200, 200)});
    indexed.fill(0);
    MaskOutsideShape(indexed, ToolEllipse, true, ShapeBackgroundColor(128 + 2, Qt::gray, Qt::yellow));
    EXPECT_EQ(indexed.format(), QImage::Format_Indexed8);
    EXPECT_EQ(indexed.size(), QSize(100, 60));
    EXPECT_EQ(at(indexed, 0, 0), qRgb(0, 0, 0) & 0xffffff);
    EXPECT_EQ(at(indexed, 50, 30), kKept & 0xffffff);

    QImage argb = picture(40, 30, QImage::Format_ARGB32_Premultiplied);
    MaskOutsideShape(argb, ToolEllipse, false, QColor(kRed));
    EXPECT_EQ(argb.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(argb.size(), QSize(40, 30));
    EXPECT_EQ(at(argb, 0, 0), kRed & 0xffffff);
}

TEST(OverlayGeometry, ShapeBackgroundColor_UsesTheLowSevenBitsOfThePaletteIndex)
{
    const QColor face(212, 208, 200);
    const QColor info(255, 255, 225);
    struct Case {
        int index;
        std::optional<QColor> colour;
    };
    const std::vector<Case> cases{
        {0, face},
        {1, QColor(128, 128, 128)},
        {2, QColor(0, 0, 0)},
        {5, info},
        {8, QColor(128, 128, 0)},
        {9, QColor(0, 128, 0)},
        {11, QColor(128, 0, 0)},
        {12, std::nullopt},
        {99, std::nullopt},
        {127, std::nullopt},
        {128 + 2, QColor(0, 0, 0)},
        {128 + 5, info},
        {256 + 10, QColor(255, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(ShapeBackgroundColor(c.index, face, info), c.colour);
    }

    // Masking with index 128 + 2 paints black.
    QImage img = picture(50, 50);
    MaskOutsideShape(img, ToolEllipse, true, ShapeBackgroundColor(128 + 2, face, info));
    EXPECT_EQ(at(img, 0, 0), qRgb(0, 0, 0) & 0xffffff);
    EXPECT_EQ(at(img, 25, 25), kKept & 0xffffff);
}

TEST(OverlayGeometry, Loupe_GoesToTheCornerOppositeThePointersQuarterOfTheRealScreen)
{
    struct Case {
        QSize screen;
        QPoint pointer;
        QPoint expected;
    };
    const QPoint current(333, 444);
    const std::vector<Case> cases{
        {{1920, 1080}, {100, 100}, {1732, 842}},
        {{1920, 1080}, {1800, 1000}, {10, 10}},
        {{1920, 1080}, {1800, 100}, {10, 842}},
        {{1920, 1080}, {100, 1000}, {1732, 10}},
        {{1920, 1080}, {960, 100}, current},
        {{1920, 1080}, {100, 540}, current},
        // 1366 by 768 uses its own height, so the loupe stays on the screen.
        {{1366, 768}, {0, 0}, {1178, 530}},
        {{1366, 768}, {1365, 767}, {10, 10}},
        {{1366, 768}, {1000, 10}, {10, 530}},
        {{1366, 768}, {10, 700}, {1178, 10}},
        {{1366, 768}, {683, 700}, current},
        {{1366, 768}, {1000, 384}, current},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.screen.width() << "x" << c.screen.height() << " at " << c.pointer.x()
                                        << "," << c.pointer.y());
        const QPoint placed = LoupePlacement(c.pointer, c.screen, current);
        EXPECT_EQ(placed, c.expected);
        if (placed != current) {
            EXPECT_TRUE(QRect(QPoint(0, 0), c.screen).contains(QRect(placed, kLoupeWindowSize)));
        }
    }
}

TEST(OverlayGeometry, LoupeSource_IsASquareEndingAtThePointerShrinkingWithTheFactor)
{
    const QPoint pointer(500, 400);
    EXPECT_EQ(LoupeSourceRect(pointer, 1), QRect(330, 230, 170, 170));
    EXPECT_EQ(LoupeSourceRect(pointer, 2), QRect(415, 315, 85, 85));
    EXPECT_EQ(LoupeSourceRect(pointer, 0), QRect(330, 230, 170, 170));
    EXPECT_EQ(LoupeSourceRect(pointer, -3), QRect(330, 230, 170, 170));
}

TEST(OverlayGeometry, CoordHint_SitsRightOfAndAboveThePointerAroundItsText)
{
    EXPECT_EQ(CoordHintRect({100, 200}, {40, 13}), QRect(119, 190, 48, 13));
}
