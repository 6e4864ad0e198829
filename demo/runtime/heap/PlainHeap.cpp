// Pixel memory straight from the C heap.
#include <cstdlib>

#include "demo/runtime/PixelHeap.h"

std::uint8_t* AllocatePixelBytes(std::size_t bytes, bool zeroed) {
    // calloc: large buffers come zeroed from the system without touching
    // every page.
    return static_cast<std::uint8_t*>(zeroed ? std::calloc(bytes, 1) : std::malloc(bytes));
}
