// The pacer is what keeps the demo from spinning where presenting does not
// wait for the retrace, and from sleeping where it does.
#include "demo/runtime/FramePacer.h"

#include <gtest/gtest.h>

using std::chrono::milliseconds;

TEST(FramePacer, PresentsThatReturnAtOnceArePacedToTheRefreshRate) {
    FramePacer pacer;
    pacer.Start(0);  // an unknown rate counts as 60 Hz
    EXPECT_EQ(
        pacer.Period(),
        std::chrono::duration_cast<FramePacer::Clock::duration>(std::chrono::seconds(1)) / 60);
    const auto start = FramePacer::Clock::now();
    for (int frame = 0; frame < 13; ++frame) {
        pacer.AfterPresent(FramePacer::Clock::duration::zero());
    }
    // The first presentation sets the beat; each of the other 12 waits for
    // its deadline, so they cannot take less than 12 frames' time.
    EXPECT_GE(FramePacer::Clock::now() - start, 12 * pacer.Period());
}

TEST(FramePacer, APresentThatWaitedForTheRetraceIsNotSleptAfter) {
    FramePacer pacer;
    pacer.Start(100);
    pacer.AfterPresent(FramePacer::Clock::duration::zero());
    for (int frame = 0; frame < 5; ++frame) {
        EXPECT_EQ(pacer.AfterPresent(milliseconds(8)), FramePacer::Clock::duration::zero());
    }
}

// A clock that stands still but for the pacer's sleeps, which end at their
// deadline, or as late as lateWakeUp says once.
namespace fake {

FramePacer::Clock::time_point now;
FramePacer::Clock::duration lateWakeUp{};

FramePacer::Time Time() {
    return {[] { return now; },
            [](FramePacer::Clock::time_point until) {
                now = until + lateWakeUp;
                lateWakeUp = {};
            }};
}

}  // namespace fake

TEST(FramePacer, AWakeUpAFrameOrTwoLateIsMadeUpAndTheRateHolds) {
    FramePacer pacer(fake::Time());
    pacer.Start(50);  // 20 ms a frame
    const auto start = fake::now;
    pacer.AfterPresent(FramePacer::Clock::duration::zero());
    for (int frame = 1; frame < 10; ++frame) {
        if (frame == 2) {
            // The machine wakes the loop two and a half frames late.
            fake::lateWakeUp = milliseconds(50);
        }
        pacer.AfterPresent(FramePacer::Clock::duration::zero());
    }
    // On the beat, frame 9 ends at 180 ms; starting afresh after the late
    // wake-up would have taken until 230 ms.
    EXPECT_EQ(fake::now - start, milliseconds(180));
}
