// The 1 ms timer resolution the Win32 run-time holds from start-up to
// shutdown: requested once, released once with the same period, asked for
// again by a run-time started anew, and never released when it was refused
// (an unmatched release would undo another request of the process).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "demo/runtime/runtime.h"
#include "demo/runtime/win32/Win32Platform.h"

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

std::vector<std::string> TwoLifetimes(MMRESULT reply) {
    const TimerPeriodCalls system = timerPeriodCalls;
    timerPeriodCalls = {Request, Release};
    calls.clear();
    answer = reply;
    for (int run = 0; run < 2; ++run) {
        RuntimeStartup();
        calls.push_back("running");
        RuntimeShutdown();
    }
    timerPeriodCalls = system;
    return calls;
}

}  // namespace

TEST(TimerPeriodTest, EachRunHoldsOneMillisecondAndReleasesOnlyWhatWasGranted) {
    EXPECT_EQ(TwoLifetimes(TIMERR_NOERROR),
              (std::vector<std::string>{"request 1", "running", "release 1", "request 1", "running",
                                        "release 1"}));
    EXPECT_EQ(TwoLifetimes(TIMERR_NOCANDO),
              (std::vector<std::string>{"request 1", "running", "request 1", "running"}));
}
