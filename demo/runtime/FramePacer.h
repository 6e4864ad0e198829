// Keeps presentation at the display's refresh rate where presenting does not
// itself wait for the retrace (software renderers, drivers that ignore the
// request): after a presentation that returned early it sleeps until the
// frame's deadline. A presentation that blocked for a good part of a frame
// did wait for the retrace; then the display sets the beat and the pacer
// only follows it, since sleeping as well would make frames miss retraces.
#pragma once

#include <chrono>

class FramePacer {
  public:
    using Clock = std::chrono::steady_clock;

    // refreshHz 0 (unknown) counts as 60.
    void Start(int refreshHz);
    // Call right after each presentation with the time the presenting call
    // itself took. Returns how long it slept.
    Clock::duration AfterPresent(Clock::duration presentTook);

    Clock::duration Period() const { return period; }

  private:
    Clock::duration period{};
    Clock::time_point deadline{};
    bool started = false;
};
