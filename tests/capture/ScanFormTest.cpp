// The capture overlay driven with synthetic pointer and key events on the offscreen platform.
#include "capture/CoordHint.h"
#include "capture/LoupeForm.h"
#include "capture/OverlayGeometry.h"
#include "capture/OverlayPainter.h"
#include "capture/ScanForm.h"

#include <QApplication>
#include <QCursor>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace px;

namespace {

const QRect kScreen(0, 0, 640, 480);

// A picture where neighbouring pixels differ, so that a stroke left behind shows.
QImage Pattern(const QSize& size = kScreen.size())
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb((x * 7) & 255, (y * 13) & 255, (x ^ y) & 255));
    return image;
}

ScanFormSettings Settings(int tool)
{
    ScanFormSettings s;
    s.tool = tool;
    s.sCross = true;
    s.loupe = true;
    s.lFaktor = 1;
    s.cursorHint = true;
    return s;
}

struct Released {
    QPoint start, end, release;
    bool objectMode;
};

Released TakeRelease(QSignalSpy& spy)
{
    const QList<QVariant> args = spy.takeFirst();
    return {args.at(0).toPoint(), args.at(1).toPoint(), args.at(2).toPoint(), args.at(3).toBool()};
}

class ScanFormTest : public ::testing::Test {
protected:
    void Show(const ScanFormSettings& settings) { form.ShowOverlay(frozen, kScreen, settings); }

    QImage frozen = Pattern();
    TScanForm form;
};

} // namespace

TEST_F(ScanFormTest, Drag_ReportsStartEndAndReleaseAndCloses)
{
    Show(Settings(ToolRectangle));
    ASSERT_TRUE(form.isVisible());
    EXPECT_EQ(form.geometry(), kScreen);
    QSignalSpy released(&form, &TScanForm::RegionReleased);

    QTest::mousePress(&form, Qt::LeftButton, {}, QPoint(100, 80));
    QTest::mouseMove(&form, QPoint(180, 120));
    QTest::mouseMove(&form, QPoint(250, 200));
    QTest::mouseRelease(&form, Qt::LeftButton, {}, QPoint(250, 200));

    ASSERT_EQ(released.count(), 1);
    const Released r = TakeRelease(released);
    EXPECT_EQ(r.start, QPoint(100, 80));
    EXPECT_EQ(r.end, QPoint(250, 200));
    EXPECT_EQ(r.release, QPoint(250, 200));
    EXPECT_FALSE(r.objectMode);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.Loupe(), nullptr);
    EXPECT_EQ(form.CoordHintWindow(), nullptr);
}

TEST_F(ScanFormTest, ObjectTool_ReportsObjectModeAndDrawsNothing)
{
    Show(Settings(ToolObject));
    EXPECT_EQ(form.cursor().shape(), Qt::PointingHandCursor);
    QSignalSpy released(&form, &TScanForm::RegionReleased);

    QTest::mousePress(&form, Qt::LeftButton, {}, QPoint(300, 300));
    EXPECT_EQ(form.Loupe(), nullptr);
    QTest::mouseMove(&form, QPoint(320, 310));
    EXPECT_EQ(form.Canvas(), frozen);
    QTest::mouseRelease(&form, Qt::LeftButton, {}, QPoint(320, 310));

    ASSERT_EQ(released.count(), 1);
    EXPECT_TRUE(TakeRelease(released).objectMode);
}

TEST_F(ScanFormTest, Release_WithoutLeftPressEmitsNothing)
{
    Show(Settings(ToolRectangle));
    QSignalSpy released(&form, &TScanForm::RegionReleased);

    QTest::mousePress(&form, Qt::RightButton, {}, QPoint(50, 60));
    QTest::mouseRelease(&form, Qt::RightButton, {}, QPoint(50, 60));

    EXPECT_EQ(released.count(), 0);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.Canvas(), frozen);
}

// Whatever the tool and pen, after several moves the canvas holds exactly the frozen screen
// with one shape and one pair of cross lines on it: every earlier stroke was erased exactly.
TEST_F(ScanFormTest, Move_ErasesEarlierStrokesExactly)
{
    for (int tool : {ToolRectangle, ToolTriangle, ToolRoundRect, ToolEllipse}) {
        for (bool filled : {false, true}) {
            SCOPED_TRACE(testing::Message() << "tool " << tool << " filled " << filled);
            ScanFormSettings settings = Settings(tool);
            settings.filledShape = filled;
            settings.sBorder = 0;
            settings.sBForce = 2;
            Show(settings);

            QTest::mousePress(&form, Qt::LeftButton, {}, QPoint(200, 150));
            for (const QPoint& p : {QPoint(260, 190), QPoint(120, 90), QPoint(330, 400), QPoint(310, 380)})
                QTest::mouseMove(&form, p);

            QImage expected = frozen;
            const OverlayPen pen = OverlayPenFor(0, 2);
            OverlayPainter painter(expected);
            painter.DrawCross(QPoint(310, 380), pen);
            const std::optional<QColor> fill =
                filled ? std::optional<QColor>(form.palette().color(QPalette::Button)) : std::nullopt;
            painter.DrawShape(tool, QPoint(200, 150), QPoint(310, 380), pen, fill);
            EXPECT_NE(form.Canvas(), frozen);
            EXPECT_EQ(form.Canvas(), expected);
            // What is on screen is the canvas.
            EXPECT_EQ(form.grab().toImage().convertToFormat(QImage::Format_RGB32), form.Canvas());

            QTest::mouseRelease(&form, Qt::LeftButton, {}, QPoint(310, 380));
        }
    }
}

TEST(OverlayPainterTest, DrawingTwiceRestoresThePicture)
{
    const QImage original = Pattern(QSize(200, 160));
    const QPoint start(30, 140), end(170, 20);
    for (int tool : {ToolRectangle, ToolTriangle, ToolRoundRect, ToolEllipse}) {
        for (const OverlayPen& pen : {OverlayPen{1, true}, OverlayPen{3, false}}) {
            for (bool filled : {false, true}) {
                SCOPED_TRACE(testing::Message() << "tool " << tool << " width " << pen.width << " filled " << filled);
                QImage canvas = original;
                OverlayPainter painter(canvas);
                const std::optional<QColor> fill = filled ? std::optional<QColor>(QColor(240, 240, 240)) : std::nullopt;
                const QRegion dirty = painter.DrawShape(tool, start, end, pen, fill);
                ASSERT_NE(canvas, original);
                // Every pixel the stroke changed lies inside the region reported for repainting.
                for (int y = 0; y < canvas.height(); ++y)
                    for (int x = 0; x < canvas.width(); ++x)
                        if (canvas.pixel(x, y) != original.pixel(x, y)) {
                            ASSERT_TRUE(dirty.contains(QPoint(x, y))) << x << "," << y;
                        }
                painter.DrawShape(tool, start, end, pen, fill);
                EXPECT_EQ(canvas, original);
            }
        }
    }
    QImage canvas = original;
    OverlayPainter painter(canvas);
    painter.DrawCross(QPoint(0, 159), OverlayPen{3, true});
    ASSERT_NE(canvas, original);
    painter.DrawCross(QPoint(0, 159), OverlayPen{3, true});
    EXPECT_EQ(canvas, original);
}

// A one-pixel rectangle outline lies on the first and last column and row of the region the
// drag marks (right and bottom edges exclusive); the cross lines invert one row and one column.
TEST(OverlayPainterTest, RectangleOutlineAndCrossSitOnTheirPixels)
{
    QImage canvas(40, 30, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    OverlayPainter painter(canvas);
    painter.DrawShape(ToolRectangle, QPoint(20, 15), QPoint(10, 10), OverlayPen{1, true}, std::nullopt);
    const QRect box(10, 10, 10, 5);
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            const bool onOutline = box.contains(x, y) && !box.adjusted(1, 1, -1, -1).contains(x, y);
            ASSERT_EQ(canvas.pixel(x, y), onOutline ? qRgb(0, 0, 0) : qRgb(255, 255, 255)) << x << "," << y;
        }

    canvas.fill(Qt::white);
    painter.DrawCross(QPoint(5, 7), OverlayPen{1, true});
    const QRgb inverted = qRgb(128, 128, 128);
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            ASSERT_EQ(canvas.pixel(x, y), (x == 5 || y == 7) ? inverted : qRgb(255, 255, 255)) << x << "," << y;
}

TEST(OverlayPainterTest, PenFollowsBorderAndForce)
{
    struct Case { int sBorder, sBForce, width; bool solid; };
    for (const Case& c : {Case{1, 0, 1, true}, Case{0, 1, 2, false}, Case{1, 2, 3, true}, Case{1, 3, 1, true},
                          Case{0, -1, 1, false}}) {
        const OverlayPen pen = OverlayPenFor(c.sBorder, c.sBForce);
        EXPECT_EQ(pen.width, c.width) << c.sBorder << "/" << c.sBForce;
        EXPECT_EQ(pen.solid, c.solid) << c.sBorder << "/" << c.sBForce;
    }
}

TEST_F(ScanFormTest, Loupe_ShowsPositionSizeAndTheSquareLeftAbovePointer)
{
    Show(Settings(ToolRectangle));
    QTest::mousePress(&form, Qt::LeftButton, {}, QPoint(400, 300));
    ASSERT_NE(form.Loupe(), nullptr);
    // The pointer is in the lower right quarter: the loupe goes to the top left corner.
    EXPECT_EQ(form.Loupe()->pos(), QPoint(10, 10));
    EXPECT_EQ(form.Loupe()->size(), QSize(176, 225));

    QTest::mouseMove(&form, QPoint(40, 30));
    const TPrevKoordForm* loupe = form.Loupe();
    EXPECT_EQ(loupe->XAlignEdit->text(), "X = 40");
    EXPECT_EQ(loupe->YAlignEdit->text(), "Y = 30");
    EXPECT_EQ(loupe->WAlignEdit->text(), "W = 360");
    EXPECT_EQ(loupe->HAlignEdit->text(), "H = 270");
    // The square reaches past the screen's top-left corner: that part stays black, the rest is
    // the screen around the pointer.
    const QImage& picture = loupe->Picture();
    EXPECT_EQ(picture.pixel(5, 5), qRgb(0, 0, 0));
    EXPECT_EQ(picture.pixel(171, 171), form.Canvas().pixel(39, 29));
    // The pointer went into the loupe: it moved to the corner opposite the pointer's quarter.
    EXPECT_EQ(loupe->pos(), QPoint(640 - 188, 480 - 238));
}

TEST_F(ScanFormTest, CoordHint_ShowsClientPositionOnceMovedMoreThanOnePixel)
{
    Show(Settings(ToolRectangle));
    QTest::mouseMove(&form, QPoint(100, 50));
    ASSERT_NE(form.CoordHintWindow(), nullptr);
    EXPECT_EQ(form.CoordHintWindow()->Text(), "100, 50");
    EXPECT_EQ(form.CoordHintWindow()->x(), 100 + 19);
    QTest::mouseMove(&form, QPoint(101, 51));
    EXPECT_EQ(form.CoordHintWindow()->Text(), "100, 50");
    QTest::mouseMove(&form, QPoint(102, 51));
    EXPECT_EQ(form.CoordHintWindow()->Text(), "102, 51");
}

TEST_F(ScanFormTest, Escape_ClosesAndCancels)
{
    Show(Settings(ToolRectangle));
    QSignalSpy cancelled(&form, &TScanForm::Cancelled);
    QSignalSpy released(&form, &TScanForm::RegionReleased);
    QTest::mousePress(&form, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_EQ(cancelled.count(), 1);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(released.count(), 0);
}

TEST_F(ScanFormTest, EnterOrSpaceInObjectMode_RequestsWindowUnderPointer)
{
    struct Case { int tool; Qt::Key key; bool requests; };
    for (const Case& c : {Case{ToolRectangle, Qt::Key_Return, true}, Case{ToolEllipse, Qt::Key_Enter, true},
                          Case{ToolObject, Qt::Key_Space, true}, Case{ToolRectangle, Qt::Key_Space, false}}) {
        SCOPED_TRACE(testing::Message() << "tool " << c.tool << " key " << c.key);
        Show(Settings(c.tool));
        QCursor::setPos(QPoint(123, 234));
        QSignalSpy requested(&form, &TScanForm::WindowUnderPointerRequested);
        QTest::keyClick(&form, c.key);
        ASSERT_EQ(requested.count(), c.requests ? 1 : 0);
        EXPECT_EQ(form.isVisible(), !c.requests);
        if (c.requests) {
            EXPECT_EQ(requested.takeFirst().at(0).toPoint(), QPoint(123, 234));
        }
        form.HideOverlay();
    }
}

TEST_F(ScanFormTest, ShiftAndCtrlArrows_DragFifteenPixelsPerKey)
{
    Show(Settings(ToolRectangle));
    QCursor::setPos(QPoint(200, 100));
    QSignalSpy released(&form, &TScanForm::RegionReleased);

    QTest::keyPress(&form, Qt::Key_Shift);
    EXPECT_TRUE(form.KeyDragActive);
    QTest::keyClick(&form, Qt::Key_Right, Qt::ControlModifier);
    QTest::keyClick(&form, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(form.EndPoint, QPoint(230, 100));
    QTest::keyRelease(&form, Qt::Key_Shift);

    ASSERT_EQ(released.count(), 1);
    const Released r = TakeRelease(released);
    EXPECT_EQ(r.start, QPoint(200, 100));
    EXPECT_EQ(r.end, QPoint(230, 100));
    EXPECT_EQ(r.release, QPoint(230, 100));
    EXPECT_FALSE(form.KeyDragActive);
}

TEST_F(ScanFormTest, ArrowsWithoutShift_MoveThePointerOnly)
{
    Show(Settings(ToolRectangle));
    QCursor::setPos(QPoint(200, 100));
    QTest::keyClick(&form, Qt::Key_Down);
    QTest::keyClick(&form, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(QCursor::pos(), QPoint(185, 101));
    EXPECT_EQ(form.Canvas(), frozen);
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
