// The headless screen: presenting hands the back buffer to a sink instead of
// a display. Used by the capture tool and the tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

// One presented screen: top row first, 4 bytes a pixel (blue, green, red,
// unused), stride bytes between rows.
struct PresentedScreen {
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
    const std::uint8_t* pixels = nullptr;
};

// Called once per PresentScreen. Returning false asks the program to end: the
// window's close event is queued as the close box would queue it.
using FrameSink = std::function<bool(const PresentedScreen&)>;

void SetFrameSink(FrameSink sink);
