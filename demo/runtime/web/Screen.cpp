// The screen: an 800 x 600 back buffer in wasm memory that keeps its
// contents, presented into the canvas. Only the rectangles the drawing
// routines changed since the last present are put (the run-time's screen
// damage), so a frame costs what changed, not the whole screen. The page's
// refresh (requestAnimationFrame) paces the frames: presenting never waits.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "demo/runtime/DrawTarget.h"
#include "demo/runtime/Platform.h"
#include "demo/runtime/RuntimeCore.h"
#include "demo/runtime/WindowTable.h"
#include "demo/runtime/web/WebPlatform.h"

namespace {

struct Screen {
    WindowHandle parent = nullptr;
    std::unique_ptr<PixelBuffer> backBuffer;
    // What the drawing routines changed since the last present.
    ScreenDamage damage;
    std::vector<DamageRect> changed;
    std::vector<std::uint8_t> rgba;
};

Screen screen;

// Puts one rectangle of the back buffer into the canvas.
void Put(const PixelBuffer& back, const DamageRect& r) {
    screen.rgba.resize(static_cast<std::size_t>(r.width) * r.height * 4);
    std::uint8_t* out = screen.rgba.data();
    for (int y = r.y; y < r.y + r.height; ++y) {
        const std::uint8_t* bgrx = back.Row(y) + 4 * r.x;
        for (int x = 0; x < r.width; ++x, out += 4, bgrx += 4) {
            out[0] = bgrx[2];
            out[1] = bgrx[1];
            out[2] = bgrx[0];
            out[3] = 255;
        }
    }
    wobblet_page_put(screen.rgba.data(), r.x, r.y, r.width, r.height);
}

}  // namespace

int LoadScreenSystem() {
    return 1;
}

int MakeWindowScreen(WindowHandle parent, int /*x*/, int /*y*/, int width, int height,
                     int /*autoStretch*/, int /*rightOffset*/, int /*bottomOffset*/,
                     int /*flipMode*/) {
    FreeWindowScreen();
    if (WindowNumberOf(parent) < 0) {
        return 0;
    }
    std::unique_ptr<PixelBuffer> backBuffer = NewPixelBuffer(width, height, 32, false);
    if (!backBuffer) {
        return 0;
    }
    screen.parent = parent;
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
    for (const DamageRect& r : screen.changed) {
        Put(*back, r);
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
