#include <utility>

#include "demo/runtime/Events.h"
#include "demo/runtime/PixelBuffer.h"
#include "demo/runtime/Platform.h"
#include "demo/runtime/WindowTable.h"
#include "demo/runtime/headless/FrameSink.h"

namespace {

// Set by the capture tool or a test before the program starts; start-up
// leaves it alone.
FrameSink frameSink;

}  // namespace

void SetFrameSink(FrameSink sink) {
    frameSink = std::move(sink);
}

int LoadScreenSystem() {
    return 1;
}

bool OpenPlatformScreen(const ScreenPlacement& /*placement*/, PlatformScreen& traits) {
    // The sink takes frames as fast as the program makes them.
    traits.paced = false;
    return true;
}

ScreenShown ShowPlatformScreen(const ScreenPlacement& placement, const PixelBuffer* back,
                               const std::vector<DamageRect>& changed) {
    if (!frameSink) {
        return ScreenShown::kAtOnce;
    }
    PresentedScreen frame;
    frame.width = back->width;
    frame.height = back->height;
    frame.stride = back->stride;
    frame.pixels = back->Row(0);
    frame.changed = &changed;
    if (!frameSink(frame)) {
        // As if the close box had been used.
        const int number = WindowNumberOf(placement.parent);
        QueueWindowEvent(EventWindowClosed, number >= 0 ? number : 0);
    }
    return ScreenShown::kAtOnce;
}

void ClosePlatformScreen() {}

// A frame sink sees every frame.
bool PlatformScreenSeen() {
    return true;
}
