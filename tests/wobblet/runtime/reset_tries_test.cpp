// A reset that fails in a way that may pass is what a locked desktop or a
// display mode change can leave behind: given up on at once, wobblet.exe
// would end where it could go on; tried for ever, a device that never comes
// back would leave it running with nothing shown.
#include "demo/runtime/win32/ResetTries.h"

#include <d3d9.h>
#include <gtest/gtest.h>

TEST(ResetTries, AFailureThatMayPassIsTriedForThirtySecondsWhileSeenThenIsFinal) {
    for (const HRESULT failure : {D3DERR_DEVICELOST, D3DERR_OUTOFVIDEOMEMORY, E_OUTOFMEMORY}) {
        ResetTries tries;
        // The tick count wraps on the way, which ends nothing.
        DWORD now = 0xFFFFF000u;
        // Minimised for a minute, tried a display period apart: not counted.
        for (int minimised = 0; minimised < 3750; ++minimised, now += 16) {
            ASSERT_TRUE(tries.TryAgain(failure, now, false)) << failure;
        }
        // The machine asleep for an hour: counted as a second.
        now += 3600000;
        ASSERT_TRUE(tries.TryAgain(failure, now, true)) << failure;
        // Seen, tried a display period apart: the try that makes 30 s is
        // the last.
        for (DWORD triedMs = 1000; triedMs + 16 < 30000; triedMs += 16) {
            now += 16;
            ASSERT_TRUE(tries.TryAgain(failure, now, true)) << failure << " after " << triedMs;
        }
        now += 16;
        EXPECT_FALSE(tries.TryAgain(failure, now, true)) << failure;
        // A reset that worked gives the next failure the whole time again.
        tries.Passed();
        EXPECT_TRUE(tries.TryAgain(failure, now + 16, true)) << failure;
    }
    ResetTries tries;
    EXPECT_FALSE(tries.TryAgain(D3DERR_INVALIDCALL, 0, true));
    EXPECT_FALSE(tries.TryAgain(D3DERR_NOTAVAILABLE, 16, true));
}
