#include "demo/runtime/FramePacer.h"

#include <thread>

namespace {

// Presentations that return this close to the deadline came from a real
// retrace wait (or a slow frame); sleeping the rest would only risk missing
// the next retrace.
constexpr auto kSlack = std::chrono::microseconds(1500);
// How far behind the beat the loop may fall and still catch up.
constexpr int kMakeUpFrames = 3;

}  // namespace

FramePacer::Time FramePacer::SystemTime() {
    return {[] { return Clock::now(); },
            [](Clock::time_point until) { std::this_thread::sleep_until(until); }};
}

void FramePacer::Start(int refreshHz) {
    const int hz = refreshHz > 0 ? refreshHz : 60;
    period = std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)) / hz;
    started = false;
}

FramePacer::Clock::duration FramePacer::AfterPresent(Clock::duration presentTook) {
    Clock::time_point now = time.now();
    Clock::duration slept{};
    if (!started || presentTook >= period / 2) {
        started = true;
        deadline = now + period;
        return slept;
    }
    if (now + kSlack < deadline) {
        const Clock::time_point asleep = now;
        // Some systems sleep in whole milliseconds, cut short: go on until
        // the deadline has really passed.
        while (now < deadline) {
            time.sleepUntil(deadline);
            now = time.now();
        }
        slept = now - asleep;
    }
    // Keep the beat: a wake-up that came a frame or two late (a busy
    // machine) is made up by not sleeping until the loop is back on time, so
    // the rate holds; only after a longer stall does the beat start afresh
    // rather than racing through a burst of frames.
    deadline += period;
    if (deadline + kMakeUpFrames * period < now) {
        deadline = now + period;
    }
    return slept;
}
