// Keeps the timer's expiries on a fixed grid of start + k * period. SDL
// counts each next interval from the moment the callback ran, so every
// late wake-up would push all later ticks back and the animation would run
// slow; instead each callback asks for the time left to the next grid
// point. Grid points missed altogether (the machine stalled) are dropped,
// not made up in a burst, as a window timer does.
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
    // The grid point of the next expiry.
    std::uint64_t Due() const { return due; }

  private:
    std::uint64_t due = 0;
    std::uint32_t period = 1;
};
