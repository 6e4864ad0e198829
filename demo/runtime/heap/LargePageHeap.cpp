// Pixel memory on Linux. Buffers of a megabyte or more (the screen, a
// full-screen background) are placed on 2 MB boundaries and offered to the
// kernel for huge pages. A frame touches a few pieces of each of their rows,
// and each row of ordinary pages is a page of its own: with huge pages the
// processor finds their addresses without walking the page tables for every
// row. Where the kernel gives no huge pages the hint does nothing; rounding up
// wastes under 2 MB a buffer.
#include <sys/mman.h>

#include <cstdlib>
#include <cstring>

#include "demo/runtime/PixelHeap.h"

std::uint8_t* AllocatePixelBytes(std::size_t bytes, bool zeroed) {
    constexpr std::size_t kLarge = std::size_t{1} << 20;
    constexpr std::size_t kHugePage = std::size_t{2} << 20;
    if (bytes < kLarge) {
        return static_cast<std::uint8_t*>(zeroed ? std::calloc(bytes, 1) : std::malloc(bytes));
    }
    const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* bits = std::aligned_alloc(kHugePage, rounded);
    if (bits == nullptr) {
        return nullptr;
    }
    madvise(bits, rounded, MADV_HUGEPAGE);
    if (zeroed) {
        std::memset(bits, 0, bytes);
    }
    return static_cast<std::uint8_t*>(bits);
}
