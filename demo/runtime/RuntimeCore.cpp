#include "demo/runtime/RuntimeCore.h"

#include "demo/runtime/DrawTarget.h"
#include "demo/runtime/Events.h"
#include "demo/runtime/Images.h"

void StartRuntimeCore() {
    EndDrawing();
    ClearQueuedEvents();
    StartImageSupport();
}

void StopRuntimeCore() {
    EndDrawing();
    StopImageSupport();
    ClearQueuedEvents();
}

int TakeEventCode() {
    EventRecord event;
    return TakeQueuedEvent(event) ? event.code : 0;
}

DrawTarget* MakeScreenOutput(PixelBuffer* backBuffer) {
    return MakeOutput(OutputKind::kScreen, backBuffer);
}
