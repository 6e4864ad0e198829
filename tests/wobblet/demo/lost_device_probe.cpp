// wobblet.exe with a Direct3D 9 device that the system takes away for a
// while, as locking the desktop does: from the first presentation on it
// reports itself lost for kLostMs, then asks once to be reset, then works as
// the real device does (the reset is the real one). At exit:
//   lost answers N over M ms, resets R
// on standard error, N the device tests that answered "lost", over the M ms
// between the first and the last of them.
#include <windows.h>

#include <cstdio>

#include "demo/Wobblet.h"
#include "demo/runtime/win32/Win32Screen.h"

namespace {

constexpr DWORD kLostMs = 1500;

ScreenDeviceCalls real;
DWORD firstTest = 0;
DWORD lastLost = 0;
int lostAnswers = 0;
int resets = 0;

HRESULT LostForAWhile(IDirect3DDevice9* device) {
    const DWORD now = GetTickCount();
    if (firstTest == 0) {
        firstTest = now;
    }
    if (now - firstTest < kLostMs) {
        ++lostAnswers;
        lastLost = now;
        return D3DERR_DEVICELOST;
    }
    return resets == 0 ? D3DERR_DEVICENOTRESET : real.test(device);
}

HRESULT CountedReset(IDirect3DDevice9* device, D3DPRESENT_PARAMETERS* parameters) {
    ++resets;
    return real.reset(device, parameters);
}

}  // namespace

int main() {
    real = screenDeviceCalls;
    screenDeviceCalls = {LostForAWhile, CountedReset};
    const int status = RunWobblet("wobblet");
    std::fprintf(stderr, "lost answers %d over %lu ms, resets %d\n", lostAnswers,
                 static_cast<unsigned long>(lastLost - firstTest), resets);
    return status;
}
