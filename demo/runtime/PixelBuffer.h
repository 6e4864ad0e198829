// The pixel buffer behind every image and behind the screen: 24 or 32 bits a
// pixel, bytes blue, green, red (and alpha), rows padded to 4 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "demo/runtime/InkMap.h"
#include "demo/runtime/RestoreCache.h"

// The largest side an image record can describe (its sizes are 16-bit).
inline constexpr int kMaxImageSide = 32767;
// Bigger buffers are refused: a few header bytes must not be able to make us
// reserve gigabytes.
inline constexpr std::size_t kMaxPixelBytes = std::size_t{1} << 28;

// The pixels come from the platform (Platform.h): plain memory, or the bits of
// a native bitmap that the platform's own drawing can reach as well.
struct PixelMemoryRelease {
    // The platform's bitmap behind the pixels, or null.
    void* native = nullptr;
    void operator()(std::uint8_t* bits) const;
};

struct PixelBuffer {
    int width = 0;
    int height = 0;
    int bytesPerPixel = 0;  // 3 or 4
    std::ptrdiff_t stride = 0;
    // Images keep the bottom row first in memory; the screen keeps the top
    // row first, as displays and frame sinks want it.
    bool bottomUp = true;
    std::unique_ptr<std::uint8_t[], PixelMemoryRelease> bits;
    // Different for every buffer ever made and new each time drawing on it
    // begins: a buffer with the version seen before still holds the pixels
    // seen then. The screen uses it to skip copying what it already shows.
    std::uint64_t version = 0;
    // Where the pixels may be other than zero (all over, unless the buffer
    // was made blank and only the drawing routines have written to it since).
    InkMap ink;
    // Which image copies its bands hold (the screen's; empty elsewhere).
    RestoreCache restore;

    int Depth() const { return bytesPerPixel * 8; }
    // The platform's bitmap holding the pixels, or null.
    void* Native() const { return bits.get_deleter().native; }
    // Row y of the picture, counted from the top.
    std::uint8_t* Row(int y) const {
        const int memoryRow = bottomUp ? height - 1 - y : y;
        return bits.get() + memoryRow * stride;
    }
};

// A version no buffer has had yet.
std::uint64_t NewPixelVersion();

// ((width * bytes per pixel + 3) div 4) * 4.
std::ptrdiff_t RowStride(int width, int bytesPerPixel);

// An all-zero buffer of width x height at 24 or 32 bits, or null when the
// sizes or depth are not possible or memory is short.
std::unique_ptr<PixelBuffer> NewPixelBuffer(int width, int height, int depth, bool bottomUp = true);

// The same with its bytes left as the allocator gives them, for a caller that
// writes every byte, row padding included, before anyone reads it.
std::unique_ptr<PixelBuffer> NewUnfilledPixelBuffer(int width, int height, int depth);
