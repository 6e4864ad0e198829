#include "shell/sdl/XrgbRows.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

// Much cheaper than SDL's general 24-to-32-bit blit, which was most of what
// the window added to a tick.
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
