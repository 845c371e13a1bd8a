// In-process timing of a whole-screen grab through X11Screen, with and without shared memory.
// Needs an X display ($DISPLAY); without one it says so and measures nothing.
#include "platform/X11Screen.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

void grabScreen(benchmark::State& state, bool shm)
{
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        state.SkipWithError("no X display (DISPLAY is not set), nothing measured");
        return;
    }
    px::X11Screen screen;
    if (!screen.isOpen()) {
        state.SkipWithError(screen.openError().toStdString().c_str());
        return;
    }
    screen.setSharedMemoryEnabled(shm);
    const QRect rect = screen.primaryGeometry();
    for (auto _ : state) {
        QImage img = screen.grab(rect);
        benchmark::DoNotOptimize(img.constBits());
    }
    state.SetLabel(QStringLiteral("%1x%2 %3")
                       .arg(rect.width())
                       .arg(rect.height())
                       .arg(screen.lastGrabUsedSharedMemory() ? "shm" : "plain")
                       .toStdString());
    state.SetBytesProcessed(std::int64_t(state.iterations()) * rect.width() * rect.height() * 4);
}

void GrabShm(benchmark::State& state) { grabScreen(state, true); }
void GrabPlain(benchmark::State& state) { grabScreen(state, false); }

BENCHMARK(GrabShm)->Unit(benchmark::kMillisecond);
BENCHMARK(GrabPlain)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
