#include <chrono>
#include <thread>

#include "demo/runtime/RuntimeCore.h"
#include "demo/runtime/headless/HeadlessWindows.h"

void RuntimeStartup() {
    StartRuntimeCore();
    StartWindowSupport();
    RegisterPngDecoder();
}

void RuntimeShutdown() {
    FreeWindowScreen();
    StopWindowSupport();
    StopRuntimeCore();
}

int WaitEvent(int timeoutMs) {
    if (int code = TakeEventCode(); code != 0) {
        return code;
    }
    // No system delivers messages here. A bounded wait is kept, for callers
    // that pace themselves with it; waiting for ever would never end.
    if (timeoutMs > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
        return TakeEventCode();
    }
    return 0;
}

int PollEvent() {
    return WaitEvent(0);
}
