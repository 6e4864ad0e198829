#include "demo/runtime/FramePacer.h"

#include <thread>

namespace {

// Presentations that return this close to the deadline came from a real
// retrace wait (or a slow frame); sleeping the rest would only risk missing
// the next retrace.
constexpr auto kSlack = std::chrono::microseconds(1500);

}  // namespace

void FramePacer::Start(int refreshHz) {
    const int hz = refreshHz > 0 ? refreshHz : 60;
    period = std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)) / hz;
    started = false;
}

FramePacer::Clock::duration FramePacer::AfterPresent(Clock::duration presentTook) {
    Clock::time_point now = Clock::now();
    Clock::duration slept{};
    if (!started || presentTook >= period / 2) {
        started = true;
        deadline = now + period;
        return slept;
    }
    if (now + kSlack < deadline) {
        std::this_thread::sleep_until(deadline);
        const Clock::time_point woke = Clock::now();
        slept = woke - now;
        now = woke;
    }
    // Keep the beat; but after a stall of more than a frame start afresh
    // rather than racing to catch up.
    deadline += period;
    if (deadline < now) {
        deadline = now + period;
    }
    return slept;
}
