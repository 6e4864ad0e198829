#include <utility>

#include "demo/runtime/Events.h"
#include "demo/runtime/MemoryScreen.h"
#include "demo/runtime/Platform.h"
#include "demo/runtime/WindowTable.h"
#include "demo/runtime/headless/FrameSink.h"

namespace {

MemoryScreen screen;
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

int MakeWindowScreen(WindowHandle parent, int x, int y, int width, int height, int /*autoStretch*/,
                     int /*rightOffset*/, int /*bottomOffset*/, int /*flipMode*/) {
    return screen.Make(parent, x, y, width, height) ? 1 : 0;
}

DrawTarget* ScreenTarget() {
    return screen.Target();
}

int PresentScreen() {
    if (!screen.TakeChanges()) {
        return 0;
    }
    const PixelBuffer* back = screen.backBuffer.get();
    if (!frameSink) {
        return 1;
    }
    PresentedScreen frame;
    frame.width = back->width;
    frame.height = back->height;
    frame.stride = back->stride;
    frame.pixels = back->Row(0);
    frame.changed = &screen.changed;
    if (!frameSink(frame)) {
        // As if the close box had been used.
        const int number = WindowNumberOf(screen.parent);
        QueueWindowEvent(EventWindowClosed, number >= 0 ? number : 0);
    }
    return 1;
}

WindowHandle ScreenParentWindow() {
    return screen.Parent();
}

void FreeWindowScreen() {
    screen.Release();
}
