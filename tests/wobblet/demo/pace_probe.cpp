// wobblet-pace-probe SECONDS: runs wobblet's own start-up and frame loop in
// its window for that long (or until it is closed) and prints the frame rate
// and the processor time it used, to show the loop is paced, not spinning.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "demo/Wobblet.h"
#include "tests/wobblet/demo/ProcessCpu.h"

int main(int argc, char** argv) {
    const double seconds = argc == 2 ? std::atof(argv[1]) : 0;
    if (seconds <= 0 || seconds > 3600) {
        std::fprintf(stderr, "usage: %s SECONDS\n", argv[0]);
        return 2;
    }
    if (const char* failed = StartWobblet(); failed != nullptr) {
        std::fprintf(stderr, "%s: %s failed\n", argv[0], failed);
        return 1;
    }
    using Clock = std::chrono::steady_clock;
    // The first frames open the window; measure from the second second on.
    const Clock::time_point warmUp = Clock::now() + std::chrono::milliseconds(500);
    while (Clock::now() < warmUp && RunFrame()) {
    }
    const Clock::time_point start = Clock::now();
    const double cpuStart = ProcessCpuSeconds();
    long frames = 0;
    double elapsed = 0;
    while (elapsed < seconds && RunFrame()) {
        ++frames;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    }
    const double cpu = ProcessCpuSeconds() - cpuStart;
    StopWobblet();
    std::printf("frames %ld seconds %.3f fps %.2f cpu %.1f%%\n", frames, elapsed,
                elapsed > 0 ? frames / elapsed : 0.0, elapsed > 0 ? 100 * cpu / elapsed : 0.0);
    return 0;
}
