// velmora-soak: the application core headless for 60,000 ticks (or TICKS)
// with keys and window resizes along the way, reading its own resident
// memory after ticks 5,000 and 20,000, halfway from there to the end and at
// the end. Exits 1 when the memory rises in each of the last two stretches:
// a leak grows with the ticks, while the allocator and the driver settle on
// a plateau.
//   velmora-soak [TICKS]     (60000 or more, 60000 by default)
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "bench/soak/ResidentTrend.h"
#include "shell/App.h"
#include "shell/headless/HeadlessWindow.h"

namespace {

constexpr long kDefaultTicks = ResidentTrend::kShortestRun;
constexpr int kDragTicks = 10;

void Resize(int width, int height) {
    HeadlessSetClientSize(width, height);
    OnSize(width, height);
    OnPaint();
}

// No reading within the next ten ticks, so every reading is taken at the
// program's own size.
bool ReadingSoon(const ResidentTrend& trend, int tick) {
    for (const long point : trend.Points()) {
        if (point >= tick && point < tick + kDragTicks) {
            return true;
        }
    }
    return false;
}

// What a user does now and then, the same in every stretch: another warp
// every 1,000 ticks, the tumble on and off, zooming, and a window dragged
// bigger and back every 2,500 ticks (the first time within the warm-up).
void UserAt(int tick, const ResidentTrend& trend, bool& dragged) {
    if (tick % 1000 == 0) {
        OnChar('+');
    }
    if (tick % 3000 == 0) {
        OnChar('g');
    }
    if (tick % 700 == 0) {
        OnChar(tick % 1400 == 0 ? '<' : '>');
    }
    if (tick % 2500 == 500 && !ReadingSoon(trend, tick)) {
        Resize(640, 480);
        dragged = true;
    }
    if (dragged && tick % 2500 == 500 + kDragTicks) {
        Resize(300, 200);
        dragged = false;
    }
}

}  // namespace

int main(int argc, char** argv) {
    long ticks = kDefaultTicks;
    if (argc > 1) {
        char* end = nullptr;
        ticks = std::strtol(argv[1], &end, 10);
        if (argc > 2 || *end != '\0' || ticks < ResidentTrend::kShortestRun || ticks > 10000000) {
            std::fprintf(stderr, "usage: velmora-soak [TICKS]   (TICKS from %ld, default %ld)\n",
                         ResidentTrend::kShortestRun, kDefaultTicks);
            return 2;
        }
    }

    OnCreate();
    InitApp();
    if (!theDrawGL.HasContext()) {
        std::fprintf(stderr, "velmora-soak: no OpenGL context could be created\n");
        return 1;
    }
    OnPaint();

    ResidentTrend trend(ticks);
    const auto start = std::chrono::steady_clock::now();
    bool dragged = false;
    for (int tick = 1; tick <= ticks; ++tick) {
        UserAt(tick, trend, dragged);
        OnTimer();
        trend.Sample(tick);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("velmora-soak: %ld ticks in %.1f s (%.2f ms a tick)\n", ticks, seconds,
                seconds * 1e3 / static_cast<double>(ticks));
    return trend.Report(stdout, "velmora-soak", "tick") ? 0 : 1;
}
