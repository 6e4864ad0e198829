// wobblet.exe with a Direct3D 9 device that the system takes away for a
// while, as locking the desktop does: from the first presentation on it
// reports itself lost for kLostMs, then asks to be reset; its first
// kFailedResets resets fail as a device lost again on the way does (the next
// test answers "lost" once more, then asks for a reset again), and the one
// after is the real one, after which the device works as the real one does.
// At exit:
//   lost answers N over M ms, resets R, F of them failed
// on standard error, N the device tests that answered "lost", over the M ms
// between the first and the last of them.
#include <windows.h>

#include <cstdio>

#include "demo/Wobblet.h"
#include "demo/runtime/win32/Win32Screen.h"

namespace {

constexpr DWORD kLostMs = 1500;
constexpr int kFailedResets = 3;

ScreenDeviceCalls real;
DWORD firstTest = 0;
DWORD lastLost = 0;
int lostAnswers = 0;
int resets = 0;
int failedResets = 0;
bool lostAgain = false;

HRESULT Lost() {
    ++lostAnswers;
    lastLost = GetTickCount();
    return D3DERR_DEVICELOST;
}

HRESULT LostForAWhile(IDirect3DDevice9* device) {
    const DWORD now = GetTickCount();
    if (firstTest == 0) {
        firstTest = now;
    }
    if (now - firstTest < kLostMs) {
        return Lost();
    }
    if (lostAgain) {
        lostAgain = false;
        return Lost();
    }
    return resets == failedResets ? D3DERR_DEVICENOTRESET : real.test(device);
}

HRESULT FailsFirst(IDirect3DDevice9* device, D3DPRESENT_PARAMETERS* parameters) {
    ++resets;
    if (failedResets < kFailedResets) {
        ++failedResets;
        lostAgain = true;
        return D3DERR_DEVICELOST;
    }
    return real.reset(device, parameters);
}

}  // namespace

int main() {
    real = screenDeviceCalls;
    screenDeviceCalls = {LostForAWhile, FailsFirst};
    const int status = RunWobblet("wobblet");
    std::fprintf(stderr, "lost answers %d over %lu ms, resets %d, %d of them failed\n", lostAnswers,
                 static_cast<unsigned long>(lastLost - firstTest), resets, failedResets);
    return status;
}
