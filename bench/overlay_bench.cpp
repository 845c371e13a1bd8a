// In-process timing of one pointer move on the capture overlay over a 1920x1080 frozen screen,
// with cross lines, rectangle, loupe and coordinate hint on: the move handler, then the repaint
// of what it marked dirty (the overlay's changed strips and the loupe) on the offscreen platform.
#include "capture/OverlayGeometry.h"
#include "capture/ScanForm.h"

#include "WidgetBenchSupport.h"

#include <QApplication>
#include <algorithm>
#include <benchmark/benchmark.h>

namespace {

using pxbench::PaintCounter;

void PointerMove(benchmark::State& state, bool paint)
{
    px::TScanForm form;
    px::ScanFormSettings settings;
    settings.tool = px::ToolRectangle;
    settings.sCross = true;
    settings.loupe = true;
    settings.lFaktor = 2;
    settings.cursorHint = true;
    settings.sBorder = 1;
    form.ShowOverlay(pxbench::PatternPicture(1920, 1080), QRect(0, 0, 1920, 1080), settings);
    QCoreApplication::processEvents();

    PaintCounter counter;
    qApp->installEventFilter(&counter);
    form.FormMouseDown(QPoint(300, 200), Qt::LeftButton);
    QCoreApplication::processEvents();

    long i = 0;
    for (auto _ : state) {
        // A drag to the lower right and back, a few pixels per event as a hand moves.
        const int step = int(i % 400);
        const int offset = step < 200 ? step : 400 - step;
        form.FormMouseMove(QPoint(1000 + 3 * offset, 600 + 2 * offset), true);
        if (paint)
            QCoreApplication::processEvents();
        ++i;
    }
    qApp->removeEventFilter(&counter);
    state.counters["paints_per_move"] = double(counter.paints) / double(std::max<long>(i, 1));
    form.HideOverlay();
}

void BM_OverlayMoveHandlerOnly(benchmark::State& state)
{
    PointerMove(state, false);
}

void BM_OverlayMoveHandlerAndPaint(benchmark::State& state)
{
    PointerMove(state, true);
}

BENCHMARK(BM_OverlayMoveHandlerOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OverlayMoveHandlerAndPaint)->Unit(benchmark::kMicrosecond);

} // namespace
