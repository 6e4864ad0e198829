// The CPU work a tick does besides OpenGL: WarpMesh over the program's mesh
// of 20 for each entry of the warp table, and the per-vertex colours of one
// frame (SetGridColor, 8664 calls) handed to the drawing context.
#include <benchmark/benchmark.h>

#include "bench/velmora/BenchApp.h"
#include "model/Warps.h"
#include "scene/Scene.h"
#include "shell/App.h"

namespace {

void BM_WarpMesh(benchmark::State& state) {
    CubeMesh mesh;
    mesh.Create(20);
    const int index = static_cast<int>(state.range(0));
    double t = 0.0;
    for (auto _ : state) {
        WarpMesh(t, &mesh, index);
        t += 0.05;
        benchmark::DoNotOptimize(mesh.WarpedPoints());
        benchmark::ClobberMemory();
    }
    // Items are warped points: 2400 a call.
    state.SetItemsProcessed(state.iterations() * 6 * 20 * 20);
}
// 0 Wobble, 1 Twist, 2 Wobble again, 3 Bulge.
BENCHMARK(BM_WarpMesh)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

// A frame's colours in the order the faces use them, into a real context so
// SetColor reaches the driver as it does while drawing.
void BM_SetGridColorFrame(benchmark::State& state) {
    if (!StartOnce()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    const int n = 20;
    double phase = 0.0;
    for (auto _ : state) {
        for (int f = 0; f < 6; ++f) {
            for (int i = 0; i + 1 < n; ++i) {
                for (int j = 0; j + 1 < n; ++j) {
                    SetGridColor(i, j, n, theDrawGL, phase + f);
                    SetGridColor(i + 1, j, n, theDrawGL, phase + f);
                    SetGridColor(i + 1, j + 1, n, theDrawGL, phase + f);
                    SetGridColor(i, j + 1, n, theDrawGL, phase + f);
                }
            }
        }
        phase += 0.3;
    }
    // Items are SetGridColor calls: 6 x 361 x 4 = 8664 a frame.
    state.SetItemsProcessed(state.iterations() * 6 * 19 * 19 * 4);
}
BENCHMARK(BM_SetGridColorFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
