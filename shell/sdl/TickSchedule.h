// Keeps the timer's expiries on a fixed grid of start + k * period. SDL
// counts each next interval from the moment the callback ran, so every
// late wake-up would push all later ticks back and the animation would run
// slow; instead each callback asks for the time left to the next grid
// point. Grid points missed altogether (the machine stalled) are dropped,
// not made up in a burst, as a window timer does. The event loop, which
// keeps the ticks of a window nobody sees, sleeps through many grid points
// on purpose and takes them all at once when it wakes (TakeDue).
#pragma once

#include <cstdint>

class TickSchedule {
  public:
    void Start(std::uint64_t nowMs, std::uint32_t periodMs) {
        period = periodMs > 0 ? periodMs : 1;
        due = nowMs + period;
    }
    // Called at an expiry at time nowMs; returns the delay to the next one,
    // from 1 to the period.
    std::uint32_t Next(std::uint64_t nowMs) {
        due += period;
        if (due <= nowMs) {
            due += ((nowMs - due) / period + 1) * period;
        }
        return static_cast<std::uint32_t>(due - nowMs);
    }
    // At a wake-up at time nowMs of whoever sleeps through grid points: how
    // many have passed since the last one taken, at most `most` (any more
    // were lost to a stall, and are dropped as above); the grid moves on
    // past nowMs.
    std::uint32_t TakeDue(std::uint64_t nowMs, std::uint32_t most) {
        if (due > nowMs) {
            return 0;
        }
        const std::uint64_t passed = (nowMs - due) / period + 1;
        due += passed * period;
        return passed < most ? static_cast<std::uint32_t>(passed) : most;
    }
    // The grid point of the next expiry.
    std::uint64_t Due() const { return due; }
    std::uint32_t Period() const { return period; }

  private:
    std::uint64_t due = 0;
    std::uint32_t period = 1;
};
