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
    // Where the pacer reads the time and sleeps: the steady clock and the
    // thread's own sleep, unless a test hands it a clock it moves itself.
    struct Time {
        Clock::time_point (*now)();
        void (*sleepUntil)(Clock::time_point);
    };

    FramePacer() = default;
    explicit FramePacer(Time time) : time(time) {}

    // refreshHz 0 (unknown) counts as 60.
    void Start(int refreshHz);
    // Call right after each presentation with the time the presenting call
    // itself took. Returns how long it slept.
    Clock::duration AfterPresent(Clock::duration presentTook);

    Clock::duration Period() const { return period; }

  private:
    static Time SystemTime();

    Time time = SystemTime();
    Clock::duration period{};
    Clock::time_point deadline{};
    bool started = false;
};
