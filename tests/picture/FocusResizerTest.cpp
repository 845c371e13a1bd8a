// The focus grab handles: the drag arithmetic within the maximum size, and the handles on a
// picture control inside the scroll box.
#include "picture/FocusResizer.h"
#include "picture/PictureCanvas.h"
#include "picture/ScanImageView.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QScrollArea>
#include <QSignalSpy>

using namespace px;

namespace {

struct DragCase {
    const char* name;
    QRect start;
    ResizeGrip grip;
    QPoint delta;
    QRect want;
};

// Presses the left button at a widget's centre, moves by delta and releases.
void drag(QWidget* w, const QPoint& delta)
{
    const QPointF local(w->width() / 2.0, w->height() / 2.0);
    const QPointF global = w->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(w, &press);
    // Two steps, as a hand moves; the second is measured from the press as well.
    for (const QPoint& step : {delta / 2, delta}) {
        QMouseEvent move(QEvent::MouseMove, local + step, global + step, Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(w, &move);
    }
    QMouseEvent release(QEvent::MouseButtonRelease, local + delta, global + delta, Qt::LeftButton, Qt::NoButton, {});
    QApplication::sendEvent(w, &release);
}

} // namespace

TEST(FocusResizer, DraggedGeometry_StaysWithinTheMaximumSize)
{
    const QSize max(1920, 1080);
    const DragCase cases[] = {
        {"move", QRect(100, 100, 200, 100), ResizeGrip::Move, QPoint(30, -20), QRect(130, 80, 200, 100)},
        {"move past origin", QRect(100, 100, 200, 100), ResizeGrip::Move, QPoint(-500, -500), QRect(0, 0, 200, 100)},
        {"move past maximum", QRect(100, 100, 200, 100), ResizeGrip::Move, QPoint(5000, 5000), QRect(1720, 980, 200, 100)},
        {"bottom-right grows", QRect(10, 10, 100, 100), ResizeGrip::BottomRight, QPoint(50, 20), QRect(10, 10, 150, 120)},
        {"bottom-right to maximum", QRect(10, 10, 100, 100), ResizeGrip::BottomRight, QPoint(9000, 9000), QRect(10, 10, 1910, 1070)},
        {"top-left past origin", QRect(10, 20, 100, 100), ResizeGrip::TopLeft, QPoint(-50, -50), QRect(0, 0, 110, 120)},
        {"left across right edge", QRect(10, 10, 100, 100), ResizeGrip::Left, QPoint(500, 7), QRect(109, 10, 1, 100)},
        {"bottom across top edge", QRect(10, 10, 100, 100), ResizeGrip::Bottom, QPoint(3, -500), QRect(10, 10, 100, 1)},
        {"top only vertical", QRect(10, 50, 100, 100), ResizeGrip::Top, QPoint(40, -30), QRect(10, 20, 100, 130)},
        {"right only horizontal", QRect(10, 50, 100, 100), ResizeGrip::Right, QPoint(-30, 40), QRect(10, 50, 70, 100)},
        {"top-right", QRect(10, 50, 100, 100), ResizeGrip::TopRight, QPoint(5, 5), QRect(10, 55, 105, 95)},
        {"bottom-left", QRect(10, 50, 100, 100), ResizeGrip::BottomLeft, QPoint(5, 5), QRect(15, 50, 95, 105)},
    };
    for (const DragCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DraggedGeometry(c.start, c.grip, c.delta, max), c.want);
    }
    // Without a maximum only the origin limits.
    EXPECT_EQ(DraggedGeometry(QRect(10, 10, 100, 100), ResizeGrip::BottomRight, QPoint(9000, 9000), QSize()),
              QRect(10, 10, 9100, 9100));
}

class FocusResizerWidget : public ::testing::Test {
protected:
    void SetUp() override
    {
        area.setWidgetResizable(false);
        area.setWidget(canvas);
        area.resize(400, 300);
        QImage img(120, 80, QImage::Format_RGB32);
        img.fill(Qt::gray);
        view->setImage(img);
        area.show();
        QApplication::processEvents();
        resizer.setMaxSize(QSize(640, 480));
        resizer.Attach(view);
    }

    QScrollArea area;
    TPictureCanvas* canvas = new TPictureCanvas;
    TScanImage* view = new TScanImage(canvas);
    TContResizer resizer;
};

TEST_F(FocusResizerWidget, Handles_SitOnCornersAndEdgesAndFollowTheControl)
{
    const int half = TContResizer::kHandleSize / 2;
    ASSERT_NE(resizer.handle(ResizeGrip::TopLeft), nullptr);
    EXPECT_EQ(resizer.handle(ResizeGrip::TopLeft)->geometry().center(), QPoint(0, 0));
    EXPECT_EQ(resizer.handle(ResizeGrip::BottomRight)->geometry().center(), QPoint(119, 79));
    EXPECT_EQ(resizer.handle(ResizeGrip::Right)->geometry().center(), QPoint(119, 40));
    EXPECT_TRUE(resizer.handle(ResizeGrip::Bottom)->isVisible());

    view->move(30, 40);
    EXPECT_EQ(resizer.handle(ResizeGrip::TopLeft)->pos(), QPoint(30 - half, 40 - half));

    resizer.Detach();
    EXPECT_EQ(resizer.handle(ResizeGrip::TopLeft), nullptr);
    EXPECT_EQ(view->geometry(), QRect(30, 40, 120, 80));
    // Only the control is left on the canvas.
    EXPECT_EQ(canvas->findChildren<QWidget*>().size(), 1);
}

TEST_F(FocusResizerWidget, DragOnHandles_ResizesWithinMaximumAndScrollBoxKeepsIt)
{
    QSignalSpy changed(&resizer, &TContResizer::geometryChanged);
    QSignalSpy finished(&resizer, &TContResizer::geometryFinished);

    drag(resizer.handle(ResizeGrip::BottomRight), QPoint(1000, 1000));
    QApplication::processEvents();
    EXPECT_EQ(view->geometry(), QRect(0, 0, 640, 480));
    EXPECT_EQ(finished.count(), 1);
    EXPECT_GE(changed.count(), 1);
    // The scroll box now scrolls over the whole control.
    EXPECT_GE(canvas->width(), 640);
    EXPECT_GE(canvas->height(), 480);

    // Resizing from the top-left moves the control; the scroll box does not put it back.
    drag(resizer.handle(ResizeGrip::TopLeft), QPoint(100, 60));
    QApplication::processEvents();
    area.resize(380, 290);
    QApplication::processEvents();
    EXPECT_EQ(view->geometry(), QRect(100, 60, 540, 420));
    EXPECT_EQ(resizer.handle(ResizeGrip::TopLeft)->geometry().center(), QPoint(100, 60));
}

TEST_F(FocusResizerWidget, DragOnControl_MovesItAndStillReachesThePicture)
{
    int presses = 0;
    QObject::connect(view, &TScanImage::mousePressed, [&presses](const PictureMouseEvent&) { ++presses; });
    drag(view, QPoint(700, 25));
    EXPECT_EQ(view->geometry(), QRect(640 - 120, 25, 120, 80));
    EXPECT_EQ(presses, 1);

    // Attaching again to the same control (a Ctrl+click in focus mode) keeps one set of handles.
    resizer.Attach(view);
    EXPECT_EQ(canvas->findChildren<QWidget*>().size(), 9);
}
