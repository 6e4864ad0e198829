// Hand-written row loops: a frame passes through one of them on every tick,
// and the general converters of the driver and of SDL are far slower.
#include "render/PixelRows.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {

// Reading back RGBA, the colour buffer's own layout, is a plain copy in Mesa,
// where asking for BGR runs its general converter: so the driver is asked for
// RGBA and this loop, vectorised, does the rearranging (see
// bench/velmora/readback_bench.cpp). The plain x86-64 baseline has no byte
// shuffle, so GCC also builds an SSSE3 copy and picks one when the program
// loads.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("ssse3", "default")))
#endif
void PackRgbaRowAsBgr(const std::uint8_t* rgba, std::uint8_t* bgr, int width) {
    for (int x = 0; x < width; ++x) {
        bgr[3 * x + 0] = rgba[4 * x + 2];
        bgr[3 * x + 1] = rgba[4 * x + 1];
        bgr[3 * x + 2] = rgba[4 * x + 0];
    }
}

}  // namespace

void PackBottomUpRgbaIntoBgr(const std::uint8_t* rgba, int width, int height, std::uint8_t* bgr,
                             int stride) {
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    for (int y = 0; y < height; ++y) {
        PackRgbaRowAsBgr(rgba + static_cast<std::size_t>(height - 1 - y) * rowBytes,
                         bgr + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride),
                         width);
    }
}

void CopyBgrIntoXrgb(const MemoryDC& source, std::uint8_t* target, int pitch, int width, int height,
                     std::uint32_t alpha) {
    width = std::min(width, source.width);
    height = std::min(height, source.height);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* in = source.pixels + static_cast<std::ptrdiff_t>(y) * source.stride;
        auto* out =
            reinterpret_cast<std::uint32_t*>(target + static_cast<std::ptrdiff_t>(y) * pitch);
        int x = 0;
        // Four pixels are three whole words: no byte is read twice.
        for (; x + 4 <= width; x += 4, in += 12) {
            std::uint32_t w[3];
            std::memcpy(w, in, sizeof w);
            out[x] = alpha | (w[0] & 0xFFFFFF);
            out[x + 1] = alpha | (w[0] >> 24) | ((w[1] & 0xFFFF) << 8);
            out[x + 2] = alpha | (w[1] >> 16) | ((w[2] & 0xFF) << 16);
            out[x + 3] = alpha | (w[2] >> 8);
        }
        for (; x < width; ++x, in += 3) {
            out[x] = alpha | std::uint32_t{in[0]} | std::uint32_t{in[1]} << 8 |
                     std::uint32_t{in[2]} << 16;
        }
    }
}

void CopyBgrIntoRgba(const MemoryDC& source, std::uint8_t* rgba, int width, int height) {
    width = std::min(width, source.width);
    height = std::min(height, source.height);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* bgr = source.pixels + static_cast<std::size_t>(y) * source.stride;
        std::uint8_t* out = rgba + static_cast<std::size_t>(y) * width * 4;
        for (int x = 0; x < width; ++x) {
            out[4 * x + 0] = bgr[3 * x + 2];
            out[4 * x + 1] = bgr[3 * x + 1];
            out[4 * x + 2] = bgr[3 * x + 0];
            out[4 * x + 3] = 255;
        }
    }
}
