// Where the platforms without native bitmaps (HeapPixels.cpp) get pixel
// memory: one file a system, chosen by the build. What it returns is freed
// with std::free.
#pragma once

#include <cstddef>
#include <cstdint>

// bytes of memory, zeroed when asked; null when memory is short.
std::uint8_t* AllocatePixelBytes(std::size_t bytes, bool zeroed);
