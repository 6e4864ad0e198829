// Scaling a picture by area: each output pixel is the coverage-weighted mean
// of the source pixels under it, so a picture can be enlarged by a fraction
// (32 to 48) or shrunk (480 to 48) with one rule.
#pragma once

#include <cstdint>
#include <vector>

namespace icons {

// 0xAARRGGBB pixels, row by row from the top.
struct Rgba {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// The picture scaled to size x size. Colours are averaged weighted by their
// alpha, so a transparent background does not darken the edges.
Rgba ResampleSquare(const Rgba& source, int size);

}  // namespace icons
