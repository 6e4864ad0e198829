// wobblet whose Wayland pool of shared memory cannot be made for a lasting
// stretch from the first try on, as when the process has run out of file
// handles: nothing is shown meanwhile and the reason is said once; then the
// pool is made and the frames go on. At exit:
//   pool failures N over M ms, processor time C ms
// on standard error: N the tries that failed, M the time from the first of
// them to the first that did not, and C the processor time the process used
// over those M ms.
#include <cerrno>
#include <chrono>
#include <cstdio>

#include "demo/Wobblet.h"
#include "demo/runtime/sdl/WaylandPresent.h"
#include "tests/wobblet/demo/ProcessCpu.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kFailingFor = std::chrono::seconds(2);

WaylandPoolCalls real;
int failures = 0;
Clock::time_point firstTry;
double cpuAtFirstTry = 0;
long long failingMs = 0;
double failingCpu = 0;

int FailsForAWhile(const char* name, unsigned flags) {
    const Clock::time_point now = Clock::now();
    if (failures == 0) {
        firstTry = now;
        cpuAtFirstTry = ProcessCpuSeconds();
    }
    if (now - firstTry < kFailingFor) {
        ++failures;
        errno = EMFILE;
        return -1;
    }
    if (failingMs == 0) {
        failingMs = std::chrono::duration_cast<std::chrono::milliseconds>(now - firstTry).count();
        failingCpu = ProcessCpuSeconds() - cpuAtFirstTry;
    }
    return real.makeMemory(name, flags);
}

}  // namespace

int main() {
    real = waylandPoolCalls;
    waylandPoolCalls.makeMemory = FailsForAWhile;
    const int status = RunWobblet("wobblet");
    std::fprintf(stderr, "pool failures %d over %lld ms, processor time %.0f ms\n", failures,
                 failingMs, 1000 * failingCpu);
    return status;
}
