// The grab primitives and cursor drawing on a FakeScreen.
#include "capture/Grab.h"

#include <gtest/gtest.h>

#include <QPainter>

using namespace px;

namespace {

// Every pixel of the fake desktop has its own colour.
QRgb desktopPixel(int x, int y) { return qRgb(x * 3 & 255, y * 5 & 255, (x + y) & 255); }

QImage makeDesktop(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, desktopPixel(x, y));
    return img;
}

// Counts the grab requests that reach the screen.
class CountingScreen : public FakeScreen {
public:
    using FakeScreen::FakeScreen;
    int grabs = 0;
    QImage grab(const QRect& rect) override
    {
        ++grabs;
        return FakeScreen::grab(rect);
    }
};

// Pixels of img that do not show the desktop at screen point origin + (x, y), where outside
// the desktop black is expected.
int mismatches(const QImage& img, const QPoint& origin, const QSize& desktop)
{
    int bad = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QPoint s = origin + QPoint(x, y);
            const QRgb want = QRect(QPoint(0, 0), desktop).contains(s) ? desktopPixel(s.x(), s.y()) : qRgb(0, 0, 0);
            bad += (img.pixel(x, y) & 0xffffff) != (want & 0xffffff);
        }
    return bad;
}

} // namespace

TEST(Grab, GrabDesktop_TakesThePrimaryScreensSizeAndPixels)
{
    FakeScreen screen(makeDesktop(64, 48));
    QImage bitmap(5, 5, QImage::Format_ARGB32);
    GrabDesktop(screen, bitmap);
    ASSERT_EQ(bitmap.size(), QSize(64, 48));
    EXPECT_EQ(bitmap.format(), QImage::Format_RGB32);
    EXPECT_EQ(mismatches(bitmap, QPoint(0, 0), QSize(64, 48)), 0);
}

TEST(Grab, GrabScreenRect_WithoutBitmapAsksNothing)
{
    CountingScreen screen(makeDesktop(64, 48));
    GrabScreenRect(screen, 0, 0, 10, 10, nullptr);
    EXPECT_EQ(screen.grabs, 0);
}

TEST(Grab, GrabScreenRect_CopiesTheRectangleWithBlackOffScreen)
{
    const QSize desk(64, 48);
    FakeScreen screen(makeDesktop(desk.width(), desk.height()));
    struct Case { int left, top, width, height; };
    const Case cases[] = {
        {0, 0, 64, 48},     // all of it
        {10, 7, 13, 9},     // inside
        {-5, -3, 20, 10},   // over the top-left corner
        {50, 40, 30, 30},   // over the bottom-right corner
        {-10, 20, 90, 1},   // wider than the screen
        {100, 100, 8, 4},   // entirely off the screen
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.left << "," << c.top << " " << c.width << "x" << c.height);
        QImage bitmap;
        GrabScreenRect(screen, c.left, c.top, c.width, c.height, &bitmap);
        ASSERT_EQ(bitmap.size(), QSize(c.width, c.height));
        EXPECT_EQ(mismatches(bitmap, QPoint(c.left, c.top), desk), 0);
    }
    QImage empty(4, 4, QImage::Format_RGB32);
    GrabScreenRect(screen, 1, 1, 0, 5, &empty);
    EXPECT_EQ(empty.size(), QSize(0, 0));
}

TEST(Grab, GrabForegroundWindow_TakesTheFrameOrNothing)
{
    FakeScreen screen(makeDesktop(64, 48));
    QImage bitmap(3, 3, QImage::Format_RGB32);
    GrabForegroundWindow(screen, bitmap);
    EXPECT_EQ(bitmap.size(), QSize(0, 0));

    screen.foreground_ = WindowInfo{7, QRect(40, 30, 30, 25), "Cls", "Title"};  // partly off-screen
    GrabForegroundWindow(screen, bitmap);
    ASSERT_EQ(bitmap.size(), QSize(30, 25));
    EXPECT_EQ(mismatches(bitmap, QPoint(40, 30), QSize(64, 48)), 0);
}

TEST(Grab, DrawCapturedCursor_PutsTheHotSpotOnThePointerPosition)
{
    // A 5x4 cursor: opaque red at its hot spot (2,3), half-transparent black at (0,0), the
    // rest transparent.
    CursorImage cursor;
    cursor.image = QImage(5, 4, QImage::Format_ARGB32_Premultiplied);
    cursor.image.fill(Qt::transparent);
    cursor.image.setPixel(2, 3, qRgb(255, 0, 0));
    cursor.image.setPixel(0, 0, qRgba(0, 0, 0, 128));
    cursor.hotSpot = QPoint(2, 3);

    QImage canvas(20, 20, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    DrawCapturedCursor(canvas, cursor, QPoint(10, 10));
    EXPECT_EQ(canvas.pixel(10, 10), qRgb(255, 0, 0));
    const QRgb blended = canvas.pixel(8, 7);  // image top-left = pos - hot spot
    EXPECT_NEAR(qRed(blended), 127, 2);
    EXPECT_NEAR(qGreen(blended), 127, 2);
    // Transparent parts leave the picture alone.
    EXPECT_EQ(canvas.pixel(9, 7), qRgb(255, 255, 255));
    EXPECT_EQ(canvas.pixel(12, 9), qRgb(255, 255, 255));
}

TEST(Grab, DrawCapturedCursor_ClipsAtTheCanvasEdges)
{
    CursorImage cursor;
    cursor.image = QImage(6, 6, QImage::Format_ARGB32_Premultiplied);
    cursor.image.fill(qRgb(0, 0, 255));
    cursor.hotSpot = QPoint(3, 3);
    const QPoint positions[] = {QPoint(0, 0), QPoint(19, 19), QPoint(-2, 10), QPoint(40, 40)};
    for (const QPoint& pos : positions) {
        SCOPED_TRACE(testing::Message() << pos.x() << "," << pos.y());
        QImage canvas(20, 20, QImage::Format_RGB32);
        canvas.fill(Qt::white);
        DrawCapturedCursor(canvas, cursor, pos);
        ASSERT_EQ(canvas.size(), QSize(20, 20));
        const QRect covered = QRect(pos - cursor.hotSpot, QSize(6, 6)).intersected(canvas.rect());
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x)
                ASSERT_EQ(canvas.pixel(x, y), covered.contains(x, y) ? qRgb(0, 0, 255) : qRgb(255, 255, 255))
                    << "at " << x << "," << y;
    }
}

TEST(Grab, DrawCapturedCursor_WithoutCursorImageLeavesThePicture)
{
    QImage canvas(8, 8, QImage::Format_RGB32);
    canvas.fill(Qt::green);
    const QImage before = canvas;
    DrawCapturedCursor(canvas, CursorImage{}, QPoint(4, 4));
    EXPECT_EQ(canvas, before);
}
