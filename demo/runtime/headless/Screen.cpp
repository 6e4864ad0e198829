#include <memory>
#include <utility>
#include <vector>

#include "demo/runtime/DrawTarget.h"
#include "demo/runtime/Events.h"
#include "demo/runtime/Platform.h"
#include "demo/runtime/RuntimeCore.h"
#include "demo/runtime/WindowTable.h"
#include "demo/runtime/headless/FrameSink.h"

namespace {

struct Screen {
    WindowHandle parent = nullptr;
    int x = 0;
    int y = 0;
    std::unique_ptr<PixelBuffer> backBuffer;
    ScreenDamage damage;
    std::vector<DamageRect> changed;
};

Screen screen;
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
    FreeWindowScreen();
    if (WindowNumberOf(parent) < 0) {
        return 0;
    }
    std::unique_ptr<PixelBuffer> backBuffer = NewPixelBuffer(width, height, 32, false);
    if (!backBuffer) {
        return 0;
    }
    screen.parent = parent;
    screen.x = x;
    screen.y = y;
    screen.backBuffer = std::move(backBuffer);
    screen.damage.Reset(width, height);
    return 1;
}

DrawTarget* ScreenTarget() {
    return MakeScreenOutput(screen.backBuffer.get(), &screen.damage);
}

int PresentScreen() {
    const PixelBuffer* back = screen.backBuffer.get();
    if (back == nullptr) {
        return 0;
    }
    screen.damage.Take(screen.changed);
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
    return screen.backBuffer ? screen.parent : nullptr;
}

void FreeWindowScreen() {
    if (screen.backBuffer) {
        DetachDrawingFrom(screen.backBuffer.get());
    }
    screen = Screen{};
}
