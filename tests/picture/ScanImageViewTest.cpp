// The picture control in its scroll box: size at 1:1 and stretched, transparent drawing, paints
// limited to the exposed rectangle, and the mouse reports.
#include "picture/PictureCanvas.h"
#include "picture/ScanImageView.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPaintDevice>
#include <QScrollArea>
#include <QScrollBar>
#include <vector>

using namespace px;

namespace {

// Each quadrant of the picture has a colour of its own, so stretched drawing shows where each
// part ended up.
QImage quadrants(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, x < w / 2 ? (y < h / 2 ? qRgb(255, 0, 0) : qRgb(0, 255, 0))
                                         : (y < h / 2 ? qRgb(0, 0, 255) : qRgb(255, 255, 0)));
    return img;
}

// The scroll box of the main window in small: a viewport of 200 x 150 with the canvas in it.
struct ScrollBox {
    QScrollArea area;
    TPictureCanvas* canvas = new TPictureCanvas;
    TScanImage* view = new TScanImage(canvas);

    ScrollBox()
    {
        area.setFrameShape(QFrame::NoFrame);
        area.setWidgetResizable(false);
        area.setWidget(canvas);
        area.resize(200, 150);
        area.show();
        QApplication::processEvents();
    }
};

// A paint device whose engine writes down which parts of which pixmaps or images were drawn.
class RecordingEngine : public QPaintEngine {
public:
    struct Draw {
        QRectF target;
        QRectF source;
        QSize sourceSize;
    };
    std::vector<Draw> draws;

    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) override
    {
        draws.push_back({r, sr, pm.size()});
    }
    void drawImage(const QRectF& r, const QImage& img, const QRectF& sr, Qt::ImageConversionFlags) override
    {
        draws.push_back({r, sr, img.size()});
    }
    void drawRects(const QRectF*, int) override {}
    void drawRects(const QRect*, int) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawPath(const QPainterPath&) override {}
    Type type() const override { return QPaintEngine::User; }
};

class RecordingDevice : public QPaintDevice {
public:
    explicit RecordingDevice(QSize size) : size_(size) {}
    QPaintEngine* paintEngine() const override { return &engine; }
    mutable RecordingEngine engine;

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return size_.width();
        case PdmHeight: return size_.height();
        case PdmDepth: return 32;
        case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 96;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
        default: return QPaintDevice::metric(m);
        }
    }

private:
    QSize size_;
};

} // namespace

TEST(ScanImage, AutoSize_TakesPictureSizeAndScrollBoxReachesAllOfIt)
{
    ScrollBox box;
    box.view->setImage(quadrants(640, 480));
    QApplication::processEvents();
    EXPECT_EQ(box.view->geometry(), QRect(0, 0, 640, 480));
    EXPECT_EQ(box.canvas->size(), QSize(640, 480));
    EXPECT_EQ(box.area.horizontalScrollBar()->maximum(), 640 - box.area.viewport()->width());
    EXPECT_EQ(box.area.verticalScrollBar()->maximum(), 480 - box.area.viewport()->height());

    // A smaller picture: the control shrinks with it, the canvas still fills the viewport.
    box.view->setImage(quadrants(50, 40));
    QApplication::processEvents();
    EXPECT_EQ(box.view->size(), QSize(50, 40));
    EXPECT_EQ(box.canvas->size(), box.area.viewport()->size());

    box.view->setImage(QImage());
    EXPECT_EQ(box.view->size(), QSize(0, 0));
}

TEST(ScanImage, Stretch_FillsViewportAndFollowsItsSize)
{
    ScrollBox box;
    box.view->setImage(quadrants(640, 480));
    box.view->setAutoSize(false);
    box.view->setStretch(true);
    box.canvas->setClientWidget(box.view);
    QApplication::processEvents();
    const QSize viewport = box.area.viewport()->size();
    EXPECT_EQ(box.view->geometry(), QRect(QPoint(0, 0), viewport));
    EXPECT_EQ(box.area.horizontalScrollBar()->maximum(), 0);

    // Each quadrant of the picture covers the matching quadrant of the control.
    const QImage shown = box.view->grab().toImage();
    ASSERT_EQ(shown.size(), viewport);
    const int w = viewport.width();
    const int h = viewport.height();
    EXPECT_EQ(shown.pixel(2, 2) & RGB_MASK, qRgb(255, 0, 0) & RGB_MASK);
    EXPECT_EQ(shown.pixel(2, h - 3) & RGB_MASK, qRgb(0, 255, 0) & RGB_MASK);
    EXPECT_EQ(shown.pixel(w - 3, 2) & RGB_MASK, qRgb(0, 0, 255) & RGB_MASK);
    EXPECT_EQ(shown.pixel(w - 3, h - 3) & RGB_MASK, qRgb(255, 255, 0) & RGB_MASK);

    box.area.resize(300, 260);
    QApplication::processEvents();
    EXPECT_EQ(box.view->size(), box.area.viewport()->size());
    EXPECT_EQ(box.view->grab().toImage().pixel(box.view->width() - 2, box.view->height() - 2) & RGB_MASK,
              qRgb(255, 255, 0) & RGB_MASK);

    // Leaving stretch: back to the picture's size at 1:1.
    box.canvas->setClientWidget(nullptr);
    box.view->setStretch(false);
    box.view->setAutoSize(true);
    QApplication::processEvents();
    EXPECT_EQ(box.view->size(), QSize(640, 480));
    EXPECT_EQ(box.view->grab().toImage().pixel(400, 100) & RGB_MASK, qRgb(0, 0, 255) & RGB_MASK);
}

TEST(ScanImage, Transparent_LeavesOutTheBottomLeftColour)
{
    QWidget back;
    back.setAutoFillBackground(true);
    QPalette pal = back.palette();
    pal.setColor(QPalette::Window, QColor(0, 200, 0));
    back.setPalette(pal);
    back.resize(40, 40);
    TScanImage view(&back);

    QImage img(20, 20, QImage::Format_RGB32);
    img.fill(qRgb(10, 20, 30));                  // the key colour, from the bottom-left pixel
    for (int x = 5; x < 15; ++x)
        img.setPixel(x, 5, qRgb(250, 0, 0));
    view.setImage(img);
    back.show();
    QApplication::processEvents();

    struct Case {
        bool transparent;
        QRgb keyPixelShows;
    };
    for (const Case& c : {Case{true, qRgb(0, 200, 0)}, Case{false, qRgb(10, 20, 30)}}) {
        SCOPED_TRACE(c.transparent ? "transparent" : "opaque");
        view.setTransparent(c.transparent);
        const QImage shown = back.grab().toImage();
        EXPECT_EQ(shown.pixel(0, 19) & RGB_MASK, c.keyPixelShows & RGB_MASK);
        EXPECT_EQ(shown.pixel(10, 10) & RGB_MASK, c.keyPixelShows & RGB_MASK);
        EXPECT_EQ(shown.pixel(10, 5) & RGB_MASK, qRgb(250, 0, 0) & RGB_MASK);
    }
    EXPECT_EQ(view.transparentColor(), QColor(10, 20, 30));
}

TEST(ScanImage, Paint_DrawsOnlyTheExposedRectangle)
{
    const QImage big = quadrants(3000, 2500);
    const QRect exposed(1200, 900, 64, 48);
    for (bool stretched : {false, true}) {
        SCOPED_TRACE(stretched ? "stretched" : "1:1");
        TScanImage view;
        view.setImage(big);
        if (stretched) {
            view.setAutoSize(false);
            view.setStretch(true);
            view.resize(1600, 1200);
        }
        RecordingDevice device(view.size());
        view.render(&device, QPoint(), QRegion(exposed), QWidget::RenderFlags());

        const auto& draws = device.engine.draws;
        ASSERT_FALSE(draws.empty());
        for (const auto& d : draws) {
            EXPECT_TRUE(QRectF(exposed).contains(d.target)) << "target exceeds the exposed area";
            EXPECT_LE(d.source.width() * d.source.height(), double(exposed.width()) * exposed.height());
            // Stretched drawing comes from a pixmap of the control's size, never the picture.
            if (stretched) {
                EXPECT_EQ(d.sourceSize, view.size());
            }
        }
    }
}

TEST(ScanImage, Mouse_ReportsPressClickReleaseAndDoubleClickInOrder)
{
    TScanImage view;
    view.setImage(quadrants(100, 80));
    view.setAutoSize(false);
    view.setStretch(true);
    view.resize(200, 40);   // twice as wide, half as high
    view.show();

    std::vector<std::string> seen;
    std::vector<PictureMouseEvent> events;
    auto record = [&](const char* name) {
        return [&seen, &events, name](const PictureMouseEvent& e) {
            seen.push_back(name);
            events.push_back(e);
        };
    };
    QObject::connect(&view, &TScanImage::mousePressed, record("press"));
    QObject::connect(&view, &TScanImage::mouseMoved, record("move"));
    QObject::connect(&view, &TScanImage::mouseReleased, record("release"));
    QObject::connect(&view, &TScanImage::clicked, record("click"));
    QObject::connect(&view, &TScanImage::doubleClicked, record("dblclick"));

    const QPointF p(50, 10);
    auto send = [&](QEvent::Type t, Qt::MouseButton b, Qt::MouseButtons held, Qt::KeyboardModifiers m = {}) {
        QMouseEvent e(t, p, view.mapToGlobal(p), b, held, m);
        QApplication::sendEvent(&view, &e);
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier);
    send(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
    send(QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
    send(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton);
    send(QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton);

    const std::vector<std::string> want = {"press", "move", "click", "release", "dblclick", "press",
                                           "release", "press", "release"};
    EXPECT_EQ(seen, want);
    ASSERT_EQ(events.size(), want.size());
    EXPECT_EQ(events[0].pos, QPoint(50, 10));
    EXPECT_EQ(events[0].picturePos, QPoint(25, 20));
    EXPECT_EQ(events[0].button, Qt::LeftButton);
    EXPECT_TRUE(events[0].modifiers & Qt::ControlModifier);
    EXPECT_EQ(events[1].buttons, Qt::LeftButton);
    EXPECT_TRUE(events[5].doubleClick);
    EXPECT_FALSE(events[0].doubleClick);
    EXPECT_EQ(events[7].button, Qt::RightButton);
}
