#include "demo/runtime/Platform.h"

// The page is there before the program starts and stays after it ends:
// nothing to connect to, load or let go.
void StartPlatformProcess() {}
void StartPlatformDrawing() {}
void StartPlatformEvents() {}
void StopPlatformEvents() {}
void StopPlatformDrawing() {}
void StopPlatformProcess() {}

int TakePlatformMessage(int /*timeoutMs*/) {
    // A page hands its events to callbacks between frames, and those queue
    // the window's events themselves; there is no message to take here, and
    // a page must never block waiting for one.
    return 0;
}
