// Whether a Direct3D reset that failed is tried again at a later
// presentation. A reset fails in a way that may pass when the device was lost
// again on the way or memory ran short for a moment (a lock, a display mode
// change, another program's full screen): those failures are tried again
// until the tries have taken 30 s while the window could be seen. Any other
// failure, and one tried that long, is final.
#pragma once

#include <windows.h>

class ResetTries {
  public:
    // A reset failed with `failure` at the tick count `nowMs`, the window
    // seen then or not. True when it is to be tried again.
    bool TryAgain(HRESULT failure, DWORD nowMs, bool seen);
    // A reset worked: the next failure has the whole time again.
    void Passed();

  private:
    // Since the last reset that worked: whether the last one failed in a way
    // that may pass, the time spent on such tries while the window could be
    // seen, and when the last was tried.
    bool failing = false;
    DWORD triedMs = 0;
    DWORD lastTry = 0;
};
