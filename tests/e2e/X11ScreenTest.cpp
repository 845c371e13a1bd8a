// X11Screen against a real X server (Xvfb with jwm, from the xserver fixture).
#include "XTestEnv.h"

#include "capture/Grab.h"
#include "platform/X11Screen.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QThread>

#include <xcb/xcb.h>

using namespace px;
using px::xtest::comparePattern;

namespace {

constexpr QRect kScreen(0, 0, 1920, 1080);

class X11ScreenTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const QString err = xtest::useTestDisplay();
        ASSERT_TRUE(err.isEmpty()) << err.toStdString();
    }

    void SetUp() override
    {
        screen_ = std::make_unique<X11Screen>();
        ASSERT_TRUE(screen_->isOpen()) << screen_->openError().toStdString();
    }

    // Polls until the pointer reports pos (the server moves it asynchronously to us).
    bool waitForPointer(const QPoint& pos)
    {
        const QDeadlineTimer deadline(3000);
        while (!deadline.hasExpired()) {
            if (screen_->cursorPos() == pos)
                return true;
            QThread::msleep(10);
        }
        return false;
    }

    std::unique_ptr<X11Screen> screen_;
};

std::string describe(const xtest::PatternMismatch& m)
{
    return std::to_string(m.count) + " pixels differ, first at (" + std::to_string(m.first.x()) + ","
        + std::to_string(m.first.y()) + "): got " + QString::number(m.got & 0xffffff, 16).toStdString()
        + " want " + QString::number(m.want & 0xffffff, 16).toStdString();
}

class X11ScreenGrabTest : public X11ScreenTest, public ::testing::WithParamInterface<bool> {};

} // namespace

TEST_F(X11ScreenTest, PrimaryGeometry_IsTheWholeSingleMonitor)
{
    EXPECT_EQ(screen_->primaryGeometry(), kScreen);
}

TEST_P(X11ScreenGrabTest, Grab_ReproducesEveryPixelOfTheScreen)
{
    const bool shm = GetParam();
    screen_->setSharedMemoryEnabled(shm);
    xtest::PatternWindow pattern(kScreen);
    ASSERT_TRUE(pattern.isShown()) << pattern.error().toStdString();

    // The full screen, then smaller and larger requests in turn, so that a reused or regrown
    // shared segment is exercised too.
    const QRect rects[] = {kScreen, QRect(17, 33, 101, 77), QRect(1000, 500, 920, 580), kScreen,
                           QRect(1919, 1079, 1, 1)};
    for (const QRect& r : rects) {
        SCOPED_TRACE(QStringLiteral("rect %1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString());
        const QImage img = screen_->grab(r);
        ASSERT_EQ(img.size(), r.size());
        EXPECT_EQ(img.format(), QImage::Format_RGB32);
        EXPECT_EQ(screen_->lastGrabUsedSharedMemory(), shm);
        const auto m = comparePattern(img, r.topLeft(), kScreen);
        EXPECT_EQ(m.count, 0) << describe(m);
    }
}

TEST_P(X11ScreenGrabTest, Grab_PartsOutsideTheScreenAreBlack)
{
    screen_->setSharedMemoryEnabled(GetParam());
    xtest::PatternWindow pattern(kScreen);
    ASSERT_TRUE(pattern.isShown()) << pattern.error().toStdString();

    const QRect rects[] = {QRect(-10, -20, 100, 60), QRect(1900, 1050, 50, 40), QRect(-5, 500, 1930, 3),
                           QRect(3000, 2000, 16, 16)};
    for (const QRect& r : rects) {
        SCOPED_TRACE(QStringLiteral("rect %1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString());
        const QImage img = screen_->grab(r);
        ASSERT_EQ(img.size(), r.size());
        const auto m = comparePattern(img, r.topLeft(), kScreen);
        EXPECT_EQ(m.count, 0) << describe(m);
    }
    EXPECT_TRUE(screen_->grab(QRect(0, 0, 0, 10)).isNull());
}

TEST_F(X11ScreenTest, SharedMemory_CanBeSwitchedOffFromTheEnvironment)
{
    EXPECT_FALSE(screen_->grab(QRect(0, 0, 64, 64)).isNull());
    EXPECT_TRUE(screen_->lastGrabUsedSharedMemory());
    qputenv("PIXMORA_NO_SHM", "1");
    X11Screen plain;
    qunsetenv("PIXMORA_NO_SHM");
    EXPECT_FALSE(plain.grab(QRect(0, 0, 64, 64)).isNull());
    EXPECT_FALSE(plain.lastGrabUsedSharedMemory());
}

INSTANTIATE_TEST_SUITE_P(SharedMemory, X11ScreenGrabTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Shm" : "Plain"; });

TEST_F(X11ScreenTest, Grab_DesktopEqualsWhatXwdReads)
{
    // Something besides the root's background: a framed window.
    xtest::ManagedWindow window(QRect(300, 200, 400, 250), "xwdcheck", "XwdCheck", "xwd check");
    ASSERT_TRUE(window.waitUntilFramed()) << window.error().toStdString();
    screen_->flush();

    const auto xwd = xtest::run("xwd", {"-root", "-silent"});
    ASSERT_EQ(xwd.exitCode, 0) << xwd.err.toStdString();
    const QImage reference = xtest::decodeXwd(xwd.out);
    ASSERT_EQ(reference.size(), kScreen.size());

    QImage desktop;
    GrabDesktop(*screen_, desktop);
    ASSERT_EQ(desktop.size(), kScreen.size());
    EXPECT_EQ(desktop.convertToFormat(QImage::Format_RGB32), reference);
}

TEST_F(X11ScreenTest, CursorPos_FollowsThePointer)
{
    for (const QPoint p : {QPoint(123, 456), QPoint(0, 0), QPoint(1919, 1079), QPoint(960, 17)}) {
        const auto r = xtest::run("xdotool", {"mousemove", QString::number(p.x()), QString::number(p.y())});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(waitForPointer(p)) << "at " << screen_->cursorPos().x() << "," << screen_->cursorPos().y();
    }
}

TEST_F(X11ScreenTest, CursorImage_HasVisiblePixelsAndItsHotSpotInside)
{
    const CursorImage cursor = screen_->cursorImage();
    ASSERT_FALSE(cursor.image.isNull());
    EXPECT_EQ(cursor.image.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_TRUE(cursor.image.rect().contains(cursor.hotSpot));
    bool visible = false;
    for (int y = 0; y < cursor.image.height() && !visible; ++y)
        for (int x = 0; x < cursor.image.width() && !visible; ++x)
            visible = qAlpha(cursor.image.pixel(x, y)) != 0;
    EXPECT_TRUE(visible);
}

TEST_F(X11ScreenTest, ForegroundWindow_IsTheActivatedWindowWithItsFrame)
{
    const QString title = QString::fromUtf8("Grüße – Fenster");
    xtest::ManagedWindow window(QRect(250, 180, 320, 200), "pxtest", "PixmoraProbe", title);
    ASSERT_TRUE(window.waitUntilFramed()) << window.error().toStdString();
    const auto r = xtest::run("xdotool", {"windowactivate", "--sync", QString::number(window.id())});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    const auto fg = screen_->foregroundWindow();
    ASSERT_TRUE(fg.has_value());
    EXPECT_EQ(fg->id, window.id());
    EXPECT_EQ(fg->className, QStringLiteral("PixmoraProbe"));
    EXPECT_EQ(fg->title, title);

    // The window manager tells how wide its frame is on each side.
    int left = 0, right = 0, top = 0, bottom = 0;
    ASSERT_TRUE(window.frameExtents(left, right, top, bottom));
    EXPECT_GT(top, 0);
    const QRect client = window.clientRect();
    EXPECT_EQ(fg->frame, client.adjusted(-left, -top, right, bottom));

    QImage shot;
    GrabForegroundWindow(*screen_, shot);
    EXPECT_EQ(shot.size(), fg->frame.size());
}

TEST_F(X11ScreenTest, WindowAt_FindsTheDeepestWindowUnderThePoint)
{
    xtest::ManagedWindow window(QRect(600, 400, 200, 150), "pxat", "PixmoraAt", "under the pointer");
    ASSERT_TRUE(window.waitUntilFramed()) << window.error().toStdString();
    const QPoint inside = window.clientRect().center();
    EXPECT_EQ(screen_->windowAt(inside), window.id());
    const auto info = screen_->windowInfo(screen_->windowAt(inside));
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->className, QStringLiteral("PixmoraAt"));
    EXPECT_EQ(screen_->windowAt(QPoint(-1, 5)), 0u);
    EXPECT_EQ(screen_->windowAt(QPoint(5000, 5)), 0u);

    // Over the picture window nothing lies deeper than the picture window itself.
    xtest::PatternWindow pattern(QRect(0, 0, 400, 300));
    ASSERT_TRUE(pattern.isShown()) << pattern.error().toStdString();
    EXPECT_EQ(screen_->windowAt(QPoint(10, 10)), pattern.id());
}

TEST_F(X11ScreenTest, VanishedWindows_AreNoWindowAndTheConnectionLives)
{
    xtest::ManagedWindow window(QRect(100, 100, 160, 120), "pxgone", "PixmoraGone", "short-lived");
    ASSERT_TRUE(window.waitUntilFramed()) << window.error().toStdString();
    const auto r = xtest::run("xdotool", {"windowactivate", "--sync", QString::number(window.id())});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const WindowId id = window.id();
    ASSERT_TRUE(screen_->windowInfo(id).has_value());

    window.destroy();
    screen_->flush();
    EXPECT_FALSE(screen_->windowInfo(id).has_value());
    EXPECT_FALSE(screen_->windowInfo(0x3fffff0).has_value());  // never existed
    // Whatever the window manager made active next, asking for it does not fail.
    const auto fg = screen_->foregroundWindow();
    if (fg) {
        EXPECT_NE(fg->id, id);
    }
    EXPECT_EQ(screen_->primaryGeometry(), kScreen);
    EXPECT_EQ(screen_->grab(QRect(0, 0, 8, 8)).size(), QSize(8, 8));
}

TEST(X11ScreenOpen, UnreachableDisplay_IsReportedNotFatal)
{
    X11Screen screen(QStringLiteral(":4999"));
    EXPECT_FALSE(screen.isOpen());
    EXPECT_FALSE(screen.openError().isEmpty());
    EXPECT_TRUE(screen.grab(QRect(0, 0, 4, 4)).isNull());
    EXPECT_FALSE(screen.foregroundWindow().has_value());
    EXPECT_EQ(screen.windowAt(QPoint(1, 1)), 0u);
    screen.flush();
}
