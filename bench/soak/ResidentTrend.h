// The resident memory of a long run, read at a few points after its warm-up,
// and the verdict on it. Memory that settles on a plateau (the allocator and
// the driver keeping what they once needed) is no leak, however big the
// step up to it; memory that still rises in each of the last two stretches
// of the run is.
#pragma once

#include <cstdio>
#include <vector>

// Resident bytes from /proc/self/statm (its second field, in pages); -1 when
// it cannot be read.
long ResidentBytes();

class ResidentTrend {
  public:
    // What each of the last two stretches must add, at least, to count as a
    // rise: a leak of a dozen bytes a step shows over 20,000 steps, and the
    // odd page the allocator takes on a loaded machine does not.
    static constexpr long kRiseBytes = 256L << 10;
    // Readings after the warm-up and after the run has settled: under
    // velmora's keys and resizes, the allocator and the OpenGL driver keep
    // taking a little memory for a while after the warm-up, then stop.
    static constexpr long kWarmUp = 5000;
    static constexpr long kSettled = 20000;
    // The shortest run: two stretches of 20,000 steps after settling, long
    // enough for a small leak to outgrow the allocator's ups and downs.
    static constexpr long kShortestRun = kSettled + 40000;

    // Reads after steps kWarmUp and kSettled, then halfway to length and
    // after length, which is at least kShortestRun.
    explicit ResidentTrend(long length);

    const std::vector<long>& Points() const { return points; }
    // Reads the memory when step is one of the points; false when it cannot.
    bool Sample(long step);
    // Prints every reading and its change from the one before; returns
    // false, printing why, when memory rose in each of the last two
    // stretches or a reading is missing.
    bool Report(std::FILE* out, const char* program, const char* stepName) const;

  private:
    std::vector<long> points;
    std::vector<long> bytes;
};
