// DrawLine on one of the demo's 320 x 360, 24-bit ring images: lines of the
// kinds the cube draws, and the clipped ones it meets at the image's sides.
#include <benchmark/benchmark.h>

#include <climits>

#include "demo/runtime/runtime.h"

namespace {

struct Line {
    int x1, y1, x2, y2;
};

constexpr Line kLines[] = {
    {150, 170, 158, 176},                  // short: a few pixels
    {0, 0, 319, 359},                      // the image's whole diagonal
    {20, 180, 300, 180},                   // horizontal: one span
    {-400, -300, 700, 650},                // clipped on all sides
    {INT_MIN, INT_MIN, INT_MAX, INT_MAX},  // the limits of int: the diagonal again
    {-5000, 100, -10, 200},                // wholly left: nothing drawn
};
constexpr const char* kNames[] = {"short",   "diagonal",   "horizontal",
                                  "clipped", "int_limits", "outside"};

void BM_DrawLine(benchmark::State& state) {
    const Line& line = kLines[state.range(0)];
    state.SetLabel(kNames[state.range(0)]);
    RuntimeStartup();
    MakeImage(0, 320, 360);
    BeginDrawing(ImageTarget(0));
    const Color red = PackColor(255, 0, 0);
    for (auto _ : state) {
        DrawLine(line.x1, line.y1, line.x2, line.y2, red);
    }
    EndDrawing();
    benchmark::DoNotOptimize(NativeImageHandle(0));
    RuntimeShutdown();
}
BENCHMARK(BM_DrawLine)->DenseRange(0, 5)->Unit(benchmark::kNanosecond);

}  // namespace

BENCHMARK_MAIN();
