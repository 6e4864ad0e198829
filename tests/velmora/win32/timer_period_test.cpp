// The 1 ms timer resolution velmora holds while it runs: requested once,
// released once with the same period, and not released when refused (an
// unmatched release would undo another request of the process).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/win32/TimerPeriod.h"

namespace {

std::vector<std::string> calls;
MMRESULT answer = TIMERR_NOERROR;

MMRESULT WINAPI Request(UINT milliseconds) {
    calls.push_back("request " + std::to_string(milliseconds));
    return answer;
}

MMRESULT WINAPI Release(UINT milliseconds) {
    calls.push_back("release " + std::to_string(milliseconds));
    return TIMERR_NOERROR;
}

std::vector<std::string> Lifetime(MMRESULT reply) {
    calls.clear();
    answer = reply;
    {
        const TimerPeriod period({Request, Release});
        calls.push_back("running");
    }
    return calls;
}

}  // namespace

TEST(TimerPeriodTest, HoldsOneMillisecondForItsLifetimeAndReleasesOnlyWhatWasGranted) {
    EXPECT_EQ(Lifetime(TIMERR_NOERROR),
              (std::vector<std::string>{"request 1", "running", "release 1"}));
    EXPECT_EQ(Lifetime(TIMERR_NOCANDO), (std::vector<std::string>{"request 1", "running"}));
}
