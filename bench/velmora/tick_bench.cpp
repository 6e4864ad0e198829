// The cost of one tick (AnimateFrame + RenderFrame, the copy into the window
// included) at the program's own size and at 1280 x 720, set against the
// OpenGL drawing of the same frame alone measured in the same run, and
// against the 20 ms the tick has. A second benchmark takes the tick apart to
// show where the time goes.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <chrono>

#include "bench/velmora/BenchApp.h"
#include "shell/App.h"
#include "shell/Platform.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

bool Prepare(benchmark::State& state) {
    if (!StartOnce()) {
        state.SkipWithError("no OpenGL context");
        return false;
    }
    UseSize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    OnTimer();  // the first frame at a new size pays for fresh buffers
    DrawOnly();
    return true;
}

// Ticks and drawing-only frames alternate, so both meet the same caches,
// clocks and neighbours on a shared machine; the benchmark's own time is
// the tick's. The drawing includes the read-back: without it OpenGL's frame
// never reaches memory anyone can show.
void BM_Tick(benchmark::State& state) {
    if (!Prepare(state)) {
        return;
    }
    double ticks = 0.0;
    double drawings = 0.0;
    for (auto _ : state) {
        const auto start = Clock::now();
        OnTimer();
        ticks += Seconds(start, Clock::now());
        state.PauseTiming();
        const auto drawStart = Clock::now();
        DrawOnly();
        drawings += Seconds(drawStart, Clock::now());
        state.ResumeTiming();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["tick_ms"] = ticks / n * 1e3;
    state.counters["drawing_ms"] = drawings / n * 1e3;
    state.counters["tick_per_drawing"] = ticks / drawings;
    state.counters["share_of_20ms"] = ticks / n / 0.020;
}

// One tick in its parts, in the order the tick runs them: the animation
// (tumble, warp, spin), OpenGL's drawing up to a finished frame (glFinish
// waits for the rasteriser), the read-back into the bitmap, and the copy
// into the window.
void BM_TickParts(benchmark::State& state) {
    if (!Prepare(state)) {
        return;
    }
    double animate = 0.0;
    double render = 0.0;
    double readBack = 0.0;
    double copy = 0.0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        AnimateFrame();
        const auto t1 = Clock::now();
        theDrawGL.StartDraw();
        theScene.SetMesh(&theMesh);
        theScene.Draw(theDrawGL);
        glFinish();
        const auto t2 = Clock::now();
        theDrawGL.FinishDraw();
        const auto t3 = Clock::now();
        int width = 0;
        int height = 0;
        GetClientSize(width, height);
        CopyToWindow(theDrawGL.GetMemoryDC(), width, height);
        const auto t4 = Clock::now();
        animate += Seconds(t0, t1);
        render += Seconds(t1, t2);
        readBack += Seconds(t2, t3);
        copy += Seconds(t3, t4);
    }
    const double total = animate + render + readBack + copy;
    const double n = static_cast<double>(state.iterations());
    state.counters["animate_ms"] = animate / n * 1e3;
    state.counters["render_ms"] = render / n * 1e3;
    state.counters["readback_ms"] = readBack / n * 1e3;
    state.counters["copy_ms"] = copy / n * 1e3;
    state.counters["readback_share"] = readBack / total;
    state.counters["copy_share"] = copy / total;
    // Everything but OpenGL's own drawing, over that drawing.
    state.counters["tick_per_render"] = total / render;
}

BENCHMARK(BM_Tick)->Args({300, 200})->Args({1280, 720})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TickParts)->Args({300, 200})->Args({1280, 720})->Unit(benchmark::kMillisecond);

}  // namespace
