// Interactive captures with the real program: the overlay is driven with xdotool as a user
// drives it with the mouse and keyboard, and the picture is read back from the clipboard.
#include "ProgramHarness.h"
#include "XTestEnv.h"

#include <QDeadlineTimer>
#include <QThread>

#include <gtest/gtest.h>

using namespace px;
using namespace px::xtest;

namespace {

// Runs xdotool with the given words; fails the test when it does not succeed.
void xdo(const QStringList& words)
{
    const RunResult r = run(QStringLiteral("xdotool"), words);
    ASSERT_EQ(r.exitCode, 0) << words.join(' ').toStdString() << ": " << r.err.toStdString();
}

// Presses the left button at from, moves through via and releases it at to.
void drag(const QPoint& from, const QPoint& via, const QPoint& to)
{
    auto coords = [](const QPoint& p) { return QStringList{QString::number(p.x()), QString::number(p.y())}; };
    xdo(QStringList{QStringLiteral("mousemove")} + coords(from)
        + QStringList{QStringLiteral("mousedown"), QStringLiteral("1"), QStringLiteral("mousemove")} + coords(via)
        + QStringList{QStringLiteral("mousemove")} + coords(to) + QStringList{QStringLiteral("mouseup"), QStringLiteral("1")});
}

// The picture on the clipboard (Pixmora copies each capture there with "ScanToClipboard").
QImage clipboardImage()
{
    const RunResult r = run(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"),
                                                      QStringLiteral("-t"), QStringLiteral("image/png"), QStringLiteral("-o")});
    QImage image;
    if (r.exitCode == 0)
        image.loadFromData(r.out, "PNG");
    return image.convertToFormat(QImage::Format_RGB32);
}

// Waits until the clipboard holds a picture of the given size.
QImage waitForClipboard(const QSize& size, int timeoutMs = 15000)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        const QImage image = clipboardImage();
        if (image.size() == size)
            return image;
        QThread::msleep(100);
    }
    return clipboardImage();
}

class OverlayTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const QString err = useTestDisplay();
        ASSERT_TRUE(err.isEmpty()) << err.toStdString();
    }

    // Starts Pixmora with the given tool and copy-to-clipboard on, then starts a capture and
    // waits until the overlay covers the screen.
    void startCapture(RunningPixmora& program)
    {
        ASSERT_NE(program.waitForWindow(), 0u);
        const auto r = home.runPixmora({QStringLiteral("--capture")});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        ASSERT_NE(program.waitForWindow(QStringLiteral("^TScanForm$")), 0u) << "the overlay never appeared";
    }

    void configure(std::map<QString, qint32> options)
    {
        options.emplace(QStringLiteral("ScanSound"), 0);
        options.emplace(QStringLiteral("EndDlg"), 0);
        options.emplace(QStringLiteral("ScanToClipboard"), 1);
        options.emplace(QStringLiteral("ScanDelay"), 100);
        home.writeOptions(options);
    }

    ProgramHome home;
};

TEST_F(OverlayTest, RectangleDrag_TakesExactlyThePixelsUnderIt)
{
    configure({{QStringLiteral("ScanTool"), 0}});
    PatternWindow pattern(kScreen);
    ASSERT_TRUE(pattern.isShown()) << pattern.error().toStdString();
    RunningPixmora program(home);
    startCapture(program);
    // Dragged from the lower right to the upper left: the same rectangle as the other way.
    drag({700, 450}, {500, 400}, {400, 300});
    const QImage picture = waitForClipboard(QSize(300, 150));
    ASSERT_EQ(picture.size(), QSize(300, 150));
    EXPECT_EQ(picture, patternImage(QRect(400, 300, 300, 150)));
}

TEST_F(OverlayTest, EllipseCapture_PaintsTheCornersWithTheShapeBackground)
{
    configure({{QStringLiteral("ScanTool"), 3}, {QStringLiteral("ShapeColorBg"), 10}});
    PatternWindow pattern(kScreen);
    ASSERT_TRUE(pattern.isShown()) << pattern.error().toStdString();
    RunningPixmora program(home);
    startCapture(program);
    drag({200, 200}, {300, 250}, {400, 320});
    const QImage picture = waitForClipboard(QSize(200, 120));
    ASSERT_EQ(picture.size(), QSize(200, 120));
    const QRgb red = qRgb(255, 0, 0);
    for (const QPoint corner : {QPoint(0, 0), QPoint(199, 0), QPoint(0, 119), QPoint(199, 119)})
        EXPECT_EQ(picture.pixel(corner), red) << corner.x() << "," << corner.y();
    EXPECT_EQ(picture.pixel(100, 60), patternPixel(300, 260));
}

TEST_F(OverlayTest, ObjectMode_TakesTheWindowUnderThePointerWithItsFrame)
{
    configure({{QStringLiteral("ScanTool"), 4}});
    ManagedWindow target(QRect(600, 300, 320, 240), QStringLiteral("target"), QStringLiteral("PixmoraTarget"),
                         QStringLiteral("Target window"));
    ASSERT_TRUE(target.error().isEmpty()) << target.error().toStdString();
    ASSERT_TRUE(target.waitUntilFramed());
    int left = 0, right = 0, top = 0, bottom = 0;
    ASSERT_TRUE(target.frameExtents(left, right, top, bottom));
    const QRect client = target.clientRect();
    RunningPixmora program(home);
    startCapture(program);
    const QPoint inside = client.center();
    xdo({QStringLiteral("mousemove"), QString::number(inside.x()), QString::number(inside.y()),
         QStringLiteral("click"), QStringLiteral("1")});
    const QSize framed(client.width() + left + right, client.height() + top + bottom);
    EXPECT_EQ(waitForClipboard(framed).size(), framed);
}

TEST_F(OverlayTest, ShiftAndArrows_DragFromTheKeyboard)
{
    configure({{QStringLiteral("ScanTool"), 0}});
    PatternWindow pattern(kScreen);
    ASSERT_TRUE(pattern.isShown()) << pattern.error().toStdString();
    RunningPixmora program(home);
    startCapture(program);
    xdo({QStringLiteral("mousemove"), QStringLiteral("500"), QStringLiteral("400")});
    // Shift presses the button at the pointer; Ctrl+arrows move by 15 pixels, arrows by 1.
    xdo({QStringLiteral("keydown"), QStringLiteral("shift"), QStringLiteral("key"), QStringLiteral("ctrl+Right"),
         QStringLiteral("ctrl+Right"), QStringLiteral("Right"), QStringLiteral("ctrl+Down"), QStringLiteral("Down"),
         QStringLiteral("Down"), QStringLiteral("keyup"), QStringLiteral("shift")});
    const QImage picture = waitForClipboard(QSize(31, 17));
    ASSERT_EQ(picture.size(), QSize(31, 17));
    EXPECT_EQ(picture, patternImage(QRect(500, 400, 31, 17)));
}

TEST_F(OverlayTest, Escape_BringsTheProgramBackWithThePictureAsItWas)
{
    configure({{QStringLiteral("ScanTool"), 0}});
    RunningPixmora program(home);
    const std::uint32_t window = program.waitForWindow();
    ASSERT_NE(window, 0u);
    // A picture to keep.
    const QString sent = sendPatternPiece(home);
    ASSERT_TRUE(sent.isEmpty()) << sent.toStdString();
    ASSERT_TRUE(waitForShiftedPattern(window).has_value());

    startCapture(program);
    xdo({QStringLiteral("key"), QStringLiteral("Escape")});
    EXPECT_NE(program.waitForWindow(), 0u) << "the main window did not come back";
    EXPECT_TRUE(waitForShiftedPattern(window).has_value()) << "the picture changed";
    EXPECT_TRUE(program.isRunning());
}

} // namespace
