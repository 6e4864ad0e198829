// Writes the background picture's exact PNG form: 8-bit grey with alpha,
// no interlace, with a pHYs chunk.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace artwork {

// grey holds width * height levels, top row first. A pixel with grey 0 is
// written fully transparent (grey 0, alpha 0); every other pixel is opaque.
// Returns false and fills error when the file cannot be written.
bool WriteGreyAlphaPng(const std::string& path, int width, int height,
                       const std::vector<std::uint8_t>& grey, unsigned pixelsPerMetre,
                       std::string* error);

}  // namespace artwork
