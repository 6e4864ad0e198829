// The start-up and shutdown sequences and the event calls, the same on every
// platform: the platform's steps (Platform.h) run at fixed places among the
// portable ones.
#include "demo/runtime/RuntimeCore.h"

#include "demo/runtime/DrawTarget.h"
#include "demo/runtime/Events.h"
#include "demo/runtime/Images.h"
#include "demo/runtime/Platform.h"
#include "demo/runtime/WindowTable.h"

void RuntimeStartup() {
    StartPlatformProcess();
    // Images, their decoders (none yet) and the drawing support.
    StartImageSupport();
    StartPlatformDrawing();
    EndDrawing();  // no current drawing output
    // Events, then windows: a window's messages need the queue.
    ClearQueuedEvents();
    StartPlatformEvents();
    StartWindowSupport();
    RegisterPngDecoder();
}

void RuntimeShutdown() {
    FreeWindowScreen();
    StopWindowSupport();
    StopPlatformEvents();
    // Images go before the drawing support that may have made them.
    EndDrawing();
    StopImageSupport();
    StopPlatformDrawing();
    ClearQueuedEvents();
    StopPlatformProcess();
}

int WaitEvent(int timeoutMs) {
    // Events already queued come first; a system message is looked at only
    // when none is left, and at most one per call: the events its handling
    // queues come with the calls after.
    EventRecord event;
    if (TakeQueuedEvent(event)) {
        return event.code;
    }
    return TakePlatformMessage(timeoutMs);
}

int PollEvent() {
    return WaitEvent(0);
}

DrawTarget* MakeScreenTarget(PixelBuffer* backBuffer, ScreenDamage* damage) {
    DrawTarget* output = MakeDrawTarget(DrawTargetKind::kScreen, backBuffer);
    if (output != nullptr) {
        output->damage = damage;
    }
    return output;
}
