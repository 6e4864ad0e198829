#include <chrono>
#include <thread>

#include "demo/runtime/Platform.h"

// Nothing to connect to and nothing to load.
void StartPlatformProcess() {}
void StartPlatformDrawing() {}
void StartPlatformEvents() {}
void StopPlatformEvents() {}
void StopPlatformDrawing() {}
void StopPlatformProcess() {}

int TakePlatformMessage(int timeoutMs) {
    // No system delivers messages here. A bounded wait is kept, for callers
    // that pace themselves with it; waiting for ever would never end.
    if (timeoutMs > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
    }
    return 0;
}
