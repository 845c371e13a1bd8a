// In-process timing of a whole-screen grab through X11Screen, with and without shared memory.
// Needs an X display ($DISPLAY); without one it says so and ends successfully.
#include "platform/X11Screen.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

void grabScreen(benchmark::State& state, bool shm)
{
    px::X11Screen screen;
    if (!screen.isOpen()) {
        state.SkipWithError("no X display");
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

int main(int argc, char** argv)
{
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        std::puts("grab_bench: no DISPLAY, nothing measured");
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
