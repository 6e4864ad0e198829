// The real velmora, linked with OnTimer wrapped (-Wl,--wrap) so that every
// tick is timed on its way into the core. At exit it prints to standard
// error: "ticks N mean M ms p99 P ms max X ms" over the intervals between
// ticks, leaving out the first few of start-up. The program itself stays
// without options; this is a separate test build.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

extern "C" void __real__Z7OnTimerv();

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kStartUpTicks = 5;

struct TickLog {
    std::vector<Clock::time_point> times;

    TickLog() { times.reserve(1 << 16); }
    ~TickLog() {
        if (times.size() < kStartUpTicks + 2) {
            std::fprintf(stderr, "ticks %zu: too few to measure\n", times.size());
            return;
        }
        std::vector<double> intervals;
        for (std::size_t k = kStartUpTicks + 1; k < times.size(); ++k) {
            intervals.push_back(
                std::chrono::duration<double, std::milli>(times[k] - times[k - 1]).count());
        }
        double sum = 0;
        for (double ms : intervals) {
            sum += ms;
        }
        std::sort(intervals.begin(), intervals.end());
        const std::size_t p99 = std::min(intervals.size() - 1, intervals.size() * 99 / 100);
        std::fprintf(stderr, "ticks %zu mean %.2f ms p99 %.2f ms max %.2f ms\n", intervals.size(),
                     sum / static_cast<double>(intervals.size()), intervals[p99], intervals.back());
    }
};

TickLog tickLog;

}  // namespace

extern "C" void __wrap__Z7OnTimerv() {
    tickLog.times.push_back(Clock::now());
    __real__Z7OnTimerv();
}
