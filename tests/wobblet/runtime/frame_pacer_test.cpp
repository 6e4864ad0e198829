// The pacer is what keeps the demo from spinning where presenting does not
// wait for the retrace, and from sleeping where it does.
#include "demo/runtime/FramePacer.h"

#include <gtest/gtest.h>

#include <thread>

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

TEST(FramePacer, AWakeUpAFrameOrTwoLateIsMadeUpAndTheRateHolds) {
    FramePacer pacer;
    pacer.Start(50);  // 20 ms a frame
    const auto start = FramePacer::Clock::now();
    pacer.AfterPresent(FramePacer::Clock::duration::zero());
    // The machine held the loop up for two and a half frames.
    std::this_thread::sleep_for(milliseconds(50));
    for (int frame = 1; frame < 10; ++frame) {
        pacer.AfterPresent(FramePacer::Clock::duration::zero());
    }
    // On the beat, frame 9 ends at 180 ms; starting afresh after the stall
    // would have taken until 210 ms.
    const auto took = FramePacer::Clock::now() - start;
    EXPECT_GE(took, milliseconds(175));
    EXPECT_LT(took, milliseconds(196));
}
