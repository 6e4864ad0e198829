// The picture every frame is rendered into: a memory buffer of 24-bit pixels
// in blue-green-red order, top row first, each row padded to a multiple of
// 4 bytes. It keeps its size until a Resize succeeds; a failed Create or
// Resize leaves it exactly as it was.
#pragma once

#include <cstdint>
#include <memory>

// What the window needs to copy the picture out: the pixels and their
// geometry. Valid until the next successful Resize or the bitmap's end.
struct MemoryDC {
    const std::uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;  // bytes from one row to the next
};

class OffscreenBitmap {
  public:
    OffscreenBitmap() = default;
    OffscreenBitmap(const OffscreenBitmap&) = delete;
    OffscreenBitmap& operator=(const OffscreenBitmap&) = delete;

    // The pixels are always 24 bits, whatever bitsPerPixel says; it is only
    // recorded.
    bool Create(int width, int height, int bitsPerPixel);
    bool Resize(int width, int height);
    void GetSize(int& outWidth, int& outHeight) const;
    MemoryDC GetMemoryDC() const;

    // The renderer writes the finished frame here.
    std::uint8_t* Pixels() { return pixels.get(); }
    int Stride() const { return StrideFor(width); }
    bool IsCreated() const { return pixels != nullptr; }
    int BitsPerPixel() const { return bitsPerPixel; }

    static int StrideFor(int width) { return (width * 3 + 3) / 4 * 4; }

  private:
    // New zeroed pixels for a size, or null when the size is not positive,
    // too large to address, or the memory cannot be had.
    static std::unique_ptr<std::uint8_t[]> Allocate(int width, int height);
    // Swaps in a new zeroed picture of the given size, shared by Create and
    // Resize; on failure nothing changes.
    bool Replace(int newWidth, int newHeight);

    std::unique_ptr<std::uint8_t[]> pixels;
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
};
