// velmora's window icon: a 32 x 32 picture of the cube in 16 colours, drawn
// as text so that it lives in the program and reads in a diff.
#pragma once

#include <array>
#include <cstdint>

inline constexpr int kIconSize = 32;
inline constexpr int kIconColours = 16;

// One character a pixel: '.' is the background, 'a' to 'd' the top face,
// 'e' to 'h' the left face, 'i' to 'l' the right face.
extern const char* const kIconPicture[kIconSize];
// The characters that stand for palette entries 0 to 15, in order.
extern const char kIconKeys[kIconColours + 1];
// 0xAARRGGBB; entry 0, the background, is fully transparent.
extern const std::uint32_t kIconPalette[kIconColours];

// The picture as 0xAARRGGBB pixels, row by row from the top. A character
// without a palette entry is left transparent.
std::array<std::uint32_t, kIconSize * kIconSize> IconPixels();
