// Pixels in a drawing target's current colour and mode: runs along a row or
// a column, and single pixels many at a time. Coordinates are already
// clipped to the target's buffer.
#pragma once

#include <cstddef>
#include <cstdint>

#include "demo/runtime/DrawTarget.h"

inline bool XorMode(const DrawTarget& out) {
    return (out.mode & DrawModeXor) != 0;
}

inline std::uint8_t* PixelAt(const DrawTarget& out, std::int64_t x, std::int64_t y) {
    return out.buffer->Row(static_cast<int>(y)) + x * out.buffer->bytesPerPixel;
}

// count pixels from (x, y) rightwards, and downwards.
void HorizontalSpan(const DrawTarget& out, std::int64_t x, std::int64_t y, std::int64_t count);
void VerticalSpan(const DrawTarget& out, std::int64_t x, std::int64_t y, std::int64_t count);

// Single pixels, colour channels only. Everything it needs is copied into it
// first: the byte stores of one pixel could, as far as the compiler knows,
// change the target's record, which it would otherwise read again for the
// next.
class PixelPlotter {
  public:
    explicit PixelPlotter(const DrawTarget& out)
        : bits(out.buffer->bits.get()),
          stride(out.buffer->stride),
          lastRow(out.buffer->height - 1),
          bottomUp(out.buffer->bottomUp),
          bytesPerPixel(out.buffer->bytesPerPixel),
          exclusiveOr(XorMode(out)),
          colour{out.blue, out.green, out.red} {}

    void operator()(std::int64_t x, std::int64_t y) const {
        std::uint8_t* p = bits + (bottomUp ? lastRow - y : y) * stride + x * bytesPerPixel;
        if (exclusiveOr) {
            p[0] ^= colour[0];
            p[1] ^= colour[1];
            p[2] ^= colour[2];
        } else {
            p[0] = colour[0];
            p[1] = colour[1];
            p[2] = colour[2];
        }
    }

  private:
    std::uint8_t* bits;
    std::ptrdiff_t stride;
    std::int64_t lastRow;
    bool bottomUp;
    int bytesPerPixel;
    bool exclusiveOr;
    std::uint8_t colour[3];
};
