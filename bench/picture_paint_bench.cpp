// In-process timing of repainting the picture area: a 1920x1080 viewport over an 8000x8000
// picture, at 1:1 scrolled to the middle and stretched to the viewport, on the offscreen
// platform. Also the cost of a stretched repaint right after the viewport changed size (the
// scaled pixmap is rebuilt then).
#include "picture/PictureCanvas.h"
#include "picture/ScanImageView.h"

#include <QApplication>
#include <QEvent>
#include <QPaintEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <benchmark/benchmark.h>

namespace {

// Counts the paints of the picture control and keeps the last painted rectangle, to show that
// the measured loop really paints, and only the visible part.
class PaintCounter : public QObject {
public:
    long paints = 0;
    QRect lastRect;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints;
            lastRect = static_cast<QPaintEvent*>(event)->rect();
        }
        return false;
    }
};

const QImage& bigPicture()
{
    static const QImage image = [] {
        QImage img(8000, 8000, QImage::Format_RGB32);
        for (int y = 0; y < img.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                line[x] = qRgb((x * 7) & 255, (y * 13) & 255, (x ^ y) & 255);
        }
        return img;
    }();
    return image;
}

struct PictureArea {
    QScrollArea area;
    px::TPictureCanvas* canvas = new px::TPictureCanvas;
    px::TScanImage* view = new px::TScanImage(canvas);

    explicit PictureArea(bool stretched)
    {
        area.setFrameShape(QFrame::NoFrame);
        area.setWidget(canvas);
        area.resize(1920, 1080);
        view->setImage(bigPicture());
        if (stretched) {
            view->setAutoSize(false);
            view->setStretch(true);
            canvas->setClientWidget(view);
        }
        area.show();
        QApplication::processEvents();
        if (!stretched) {
            area.horizontalScrollBar()->setValue(area.horizontalScrollBar()->maximum() / 2);
            area.verticalScrollBar()->setValue(area.verticalScrollBar()->maximum() / 2);
        }
        QApplication::processEvents();
    }
};

// How many paints each frame took and how much of the picture the last one drew.
void reportPaints(benchmark::State& state, const PaintCounter& counter)
{
    state.counters["paints_per_frame"] = double(counter.paints) / double(state.iterations());
    state.counters["painted_w"] = counter.lastRect.width();
    state.counters["painted_h"] = counter.lastRect.height();
}

void BM_PaintViewport1to1(benchmark::State& state)
{
    PictureArea a(false);
    PaintCounter counter;
    a.view->installEventFilter(&counter);
    for (auto _ : state)
        a.view->repaint();
    reportPaints(state, counter);
    state.counters["viewport_w"] = a.area.viewport()->width();
    state.counters["scroll_x"] = a.area.horizontalScrollBar()->value();
}

void BM_PaintViewportStretched(benchmark::State& state)
{
    PictureArea a(true);
    PaintCounter counter;
    a.view->installEventFilter(&counter);
    for (auto _ : state)
        a.view->repaint();
    reportPaints(state, counter);
    state.counters["view_w"] = a.view->width();
}

void BM_PaintStretchedAfterResize(benchmark::State& state)
{
    PictureArea a(true);
    PaintCounter counter;
    a.view->installEventFilter(&counter);
    bool wide = false;
    for (auto _ : state) {
        wide = !wide;
        a.area.resize(wide ? 1900 : 1920, 1080);
        a.view->repaint();
    }
    reportPaints(state, counter);
}

BENCHMARK(BM_PaintViewport1to1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintViewportStretched)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintStretchedAfterResize)->Unit(benchmark::kMillisecond);

} // namespace
