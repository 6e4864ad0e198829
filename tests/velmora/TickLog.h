// The tick intervals of a running velmora, for the probes the smoke tests
// run: Report prints "ticks N mean M ms p99 P ms max X ms" over the
// intervals between ticks, leaving out the first few of start-up.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

class TickLog {
  public:
    TickLog() { times.reserve(1 << 16); }

    void Record() { times.push_back(Clock::now()); }

    void Report(std::FILE* out) const {
        if (times.size() < kStartUpTicks + 2) {
            std::fprintf(out, "ticks %zu: too few to measure\n", times.size());
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
        std::fprintf(out, "ticks %zu mean %.2f ms p99 %.2f ms max %.2f ms\n", intervals.size(),
                     sum / static_cast<double>(intervals.size()), intervals[p99], intervals.back());
        std::fflush(out);
    }

  private:
    using Clock = std::chrono::steady_clock;
    static constexpr std::size_t kStartUpTicks = 5;
    std::vector<Clock::time_point> times;
};
