#include "demo/runtime/PixelSpans.h"

#include <cstring>

#include "demo/runtime/PixelRows.h"

// Copy-mode spans are the bulk of every fill, so they avoid the per-pixel
// path.
void HorizontalSpan(const DrawTarget& out, std::int64_t x, std::int64_t y, std::int64_t count) {
    std::uint8_t* p = PixelAt(out, x, y);
    if (!XorMode(out) && out.buffer->bytesPerPixel == 4) {
        const std::uint8_t colour[4] = {out.blue, out.green, out.red, 0};
        CopyColourWords<0>(p, colour, count);
        return;
    }
    if (!XorMode(out) && out.blue == out.green && out.green == out.red) {
        std::memset(p, out.blue, static_cast<std::size_t>(count) * 3);
        return;
    }
    const PixelPlotter plot(out);
    for (std::int64_t i = 0; i < count; ++i) {
        plot(x + i, y);
    }
}

void VerticalSpan(const DrawTarget& out, std::int64_t x, std::int64_t y, std::int64_t count) {
    const PixelPlotter plot(out);
    for (std::int64_t i = 0; i < count; ++i) {
        plot(x, y + i);
    }
}
