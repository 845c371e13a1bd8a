// In-process timing of repainting the picture area: a 1920x1080 viewport over an 8000x8000
// picture, at 1:1 scrolled to the middle and stretched to the viewport, on the offscreen
// platform. Also the cost of a stretched repaint right after the viewport changed size (the
// scaled pixmap is rebuilt then).
#include "picture/PictureCanvas.h"
#include "picture/ScanImageView.h"

#include "WidgetBenchSupport.h"

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <benchmark/benchmark.h>

namespace {

using pxbench::PaintCounter;

const QImage& bigPicture()
{
    static const QImage image = pxbench::PatternPicture(8000, 8000);
    return image;
}

// The picture control in its scroll area, with a counter of the control's paints (which shows
// the measured loop really paints, and only the visible part). The counter outlives the area.
struct PictureArea {
    PaintCounter counter;
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
        view->installEventFilter(&counter);
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
    for (auto _ : state)
        a.view->repaint();
    reportPaints(state, a.counter);
    state.counters["viewport_w"] = a.area.viewport()->width();
    state.counters["scroll_x"] = a.area.horizontalScrollBar()->value();
}

void BM_PaintViewportStretched(benchmark::State& state)
{
    PictureArea a(true);
    for (auto _ : state)
        a.view->repaint();
    reportPaints(state, a.counter);
    state.counters["view_w"] = a.view->width();
}

void BM_PaintStretchedAfterResize(benchmark::State& state)
{
    PictureArea a(true);
    bool wide = false;
    for (auto _ : state) {
        wide = !wide;
        a.area.resize(wide ? 1900 : 1920, 1080);
        a.view->repaint();
    }
    reportPaints(state, a.counter);
}

BENCHMARK(BM_PaintViewport1to1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintViewportStretched)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintStretchedAfterResize)->Unit(benchmark::kMillisecond);

} // namespace
