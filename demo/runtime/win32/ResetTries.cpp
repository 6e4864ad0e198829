#include "demo/runtime/win32/ResetTries.h"

#include <d3d9.h>

namespace {

constexpr DWORD kResetTriesMs = 30000;
// A longer gap between two failed resets is time the program was held up
// (the window out of sight, the machine asleep), not time spent trying.
constexpr DWORD kMostCountedResetGapMs = 1000;

}  // namespace

bool ResetTries::TryAgain(HRESULT failure, DWORD nowMs, bool seen) {
    if (failure != D3DERR_DEVICELOST && failure != D3DERR_OUTOFVIDEOMEMORY &&
        failure != E_OUTOFMEMORY) {
        return false;
    }
    if (failing && seen) {
        // Unsigned: the tick count's wrap every 49.7 days is no gap.
        const DWORD gap = nowMs - lastTry;
        triedMs += gap < kMostCountedResetGapMs ? gap : kMostCountedResetGapMs;
    }
    failing = true;
    lastTry = nowMs;
    return triedMs < kResetTriesMs;
}

void ResetTries::Passed() {
    *this = ResetTries{};
}
