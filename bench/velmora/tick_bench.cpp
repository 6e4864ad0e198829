// The cost of one tick (AnimateFrame + RenderFrame, the copy into the window
// included) at the program's own size and at 1280 x 720, set against the
// OpenGL drawing alone (StartDraw, the scene's Draw, FinishDraw with the read
// back) measured in the same run, and against the 20 ms the tick has.
#include <benchmark/benchmark.h>

#include <chrono>

#include "shell/App.h"
#include "shell/headless/HeadlessWindow.h"

namespace {

bool StartOnce() {
    static const bool started = [] {
        OnCreate();
        InitApp();
        return theDrawGL.HasContext();
    }();
    return started;
}

void UseSize(int width, int height) {
    HeadlessSetClientSize(width, height);
    OnSize(width, height);
}

void DrawOnly() {
    theDrawGL.StartDraw();
    theScene.SetMesh(&theMesh);
    theScene.Draw(theDrawGL);
    theDrawGL.FinishDraw();
}

// Ticks and drawing-only frames alternate, so both meet the same caches,
// clocks and neighbours on a shared machine; the benchmark's own time is
// the tick's.
void BM_Tick(benchmark::State& state) {
    if (!StartOnce()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    UseSize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    OnTimer();  // the first frame at a new size pays for fresh buffers
    DrawOnly();

    using Clock = std::chrono::steady_clock;
    double ticks = 0.0;
    double drawings = 0.0;
    for (auto _ : state) {
        const auto start = Clock::now();
        OnTimer();
        const auto ticked = Clock::now();
        ticks += std::chrono::duration<double>(ticked - start).count();
        state.PauseTiming();
        const auto drawStart = Clock::now();
        DrawOnly();
        drawings += std::chrono::duration<double>(Clock::now() - drawStart).count();
        state.ResumeTiming();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["tick_ms"] = ticks / n * 1e3;
    state.counters["drawing_ms"] = drawings / n * 1e3;
    state.counters["tick_per_drawing"] = ticks / drawings;
    state.counters["share_of_20ms"] = ticks / n / 0.020;
}

BENCHMARK(BM_Tick)->Args({300, 200})->Args({1280, 720})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
