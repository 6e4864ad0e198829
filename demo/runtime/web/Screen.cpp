// The screen is put into the canvas: only the rectangles the drawing routines
// changed since the last present, so a frame costs what changed, not the
// whole screen. The page's refresh (requestAnimationFrame) paces the frames:
// presenting never waits.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "demo/runtime/PixelBuffer.h"
#include "demo/runtime/Platform.h"
#include "demo/runtime/ScreenDamage.h"
#include "demo/runtime/web/WebPlatform.h"

namespace {

// One changed rectangle in the canvas's byte order.
std::vector<std::uint8_t> rgba;

// Puts one rectangle of the back buffer into the canvas.
void Put(const PixelBuffer& back, const DamageRect& r) {
    rgba.resize(static_cast<std::size_t>(r.width) * r.height * 4);
    std::uint8_t* out = rgba.data();
    for (int y = r.y; y < r.y + r.height; ++y) {
        const std::uint8_t* bgrx = back.Row(y) + 4 * r.x;
        for (int x = 0; x < r.width; ++x, out += 4, bgrx += 4) {
            out[0] = bgrx[2];
            out[1] = bgrx[1];
            out[2] = bgrx[0];
            out[3] = 255;
        }
    }
    wobblet_page_put(rgba.data(), r.x, r.y, r.width, r.height);
}

}  // namespace

int LoadScreenSystem() {
    return 1;
}

bool OpenPlatformScreen(const ScreenPlacement& /*placement*/, PlatformScreen& traits) {
    traits.paced = false;
    return true;
}

ScreenShown ShowPlatformScreen(const ScreenPlacement& /*placement*/, const PixelBuffer* back,
                               const std::vector<DamageRect>& changed) {
    if (wobblet_page_take_emptied() != 0) {
        Put(*back, DamageRect{0, 0, back->width, back->height});
        return ScreenShown::kAtOnce;
    }
    for (const DamageRect& r : changed) {
        Put(*back, r);
    }
    return ScreenShown::kAtOnce;
}

void ClosePlatformScreen() {}

// A page out of sight is slowed by the browser itself, which calls the frames.
bool PlatformScreenSeen() {
    return true;
}
