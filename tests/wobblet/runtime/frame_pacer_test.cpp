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
