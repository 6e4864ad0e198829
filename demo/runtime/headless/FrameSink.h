// The headless screen: presenting hands the back buffer to a sink instead of
// a display. Used by the capture tool and the tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "demo/runtime/ScreenDamage.h"

// One presented screen: top row first, 4 bytes a pixel (blue, green, red,
// unused), stride bytes between rows.
struct PresentedScreen {
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
    const std::uint8_t* pixels = nullptr;
    // What changed since the screen was last presented (all of it the first
    // time): the rectangles a display would be sent.
    const std::vector<DamageRect>* changed = nullptr;
};

// Called once per PresentScreen. Returning false asks the program to end: the
// window's close event is queued as the close box would queue it.
using FrameSink = std::function<bool(const PresentedScreen&)>;

void SetFrameSink(FrameSink sink);
