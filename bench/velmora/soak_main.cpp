// velmora-soak: the application core headless for 20,000 ticks with keys
// and window resizes along the way, reading its own resident memory after
// tick 1,000 and after the last tick. Exits 1 when the two differ by 1 MiB
// or more: whatever a tick leaks, 19,000 ticks make it show.
//   velmora-soak [TICKS]     (default 20000, at least 1000)
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "shell/App.h"
#include "shell/headless/HeadlessWindow.h"

namespace {

constexpr int kMeasureFrom = 1000;
constexpr long kLimitBytes = 1L << 20;

// Resident set size from /proc/self/statm (second field, in pages); -1 when
// it cannot be read.
long ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = -1;
    if (!(statm >> size >> resident)) {
        return -1;
    }
    return resident * sysconf(_SC_PAGESIZE);
}

void Resize(int width, int height) {
    HeadlessSetClientSize(width, height);
    OnSize(width, height);
    OnPaint();
}

// What a user does now and then: another warp every 1,000 ticks, the tumble
// on and off, zooming, and a window dragged bigger and back every 2,500
// ticks (the first time before tick 1,000, so both readings come after the
// memory that a resize needs has been had once). Both readings are taken at
// the program's own size: no drag starts in the last ten ticks.
void UserAt(int tick, int lastTick) {
    if (tick % 1000 == 0) {
        OnChar('+');
    }
    if (tick % 3000 == 0) {
        OnChar('g');
    }
    if (tick % 700 == 0) {
        OnChar(tick % 1400 == 0 ? '<' : '>');
    }
    if (tick % 2500 == 500 && tick + 10 <= lastTick) {
        Resize(640, 480);
    }
    if (tick % 2500 == 510) {
        Resize(300, 200);
    }
}

}  // namespace

int main(int argc, char** argv) {
    int ticks = 20000;
    if (argc > 1) {
        char* end = nullptr;
        const long value = std::strtol(argv[1], &end, 10);
        if (argc > 2 || *end != '\0' || value < kMeasureFrom || value > 10000000) {
            std::fprintf(stderr, "usage: velmora-soak [TICKS]   (TICKS from %d, default 20000)\n",
                         kMeasureFrom);
            return 2;
        }
        ticks = static_cast<int>(value);
    }

    OnCreate();
    InitApp();
    if (!theDrawGL.HasContext()) {
        std::fprintf(stderr, "velmora-soak: no OpenGL context could be created\n");
        return 1;
    }
    OnPaint();

    const auto start = std::chrono::steady_clock::now();
    long early = -1;
    for (int tick = 1; tick <= ticks; ++tick) {
        UserAt(tick, ticks);
        OnTimer();
        if (tick == kMeasureFrom) {
            early = ResidentBytes();
        }
    }
    const long late = ResidentBytes();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (early < 0 || late < 0) {
        std::fprintf(stderr, "velmora-soak: cannot read /proc/self/statm\n");
        return 1;
    }

    const long growth = late - early;
    std::printf("velmora-soak: %d ticks in %.1f s (%.2f ms a tick)\n", ticks, seconds,
                seconds * 1e3 / ticks);
    std::printf(
        "velmora-soak: resident after tick %d: %ld KiB, after tick %d: %ld KiB, "
        "difference %+ld KiB (limit 1024 KiB)\n",
        kMeasureFrom, early / 1024, ticks, late / 1024, growth / 1024);
    if (std::labs(growth) >= kLimitBytes) {
        std::printf("velmora-soak: FAILED, resident memory moved by 1 MiB or more\n");
        return 1;
    }
    std::printf("velmora-soak: flat\n");
    return 0;
}
