// The picture every frame is rendered into: 24-bit pixels in blue-green-red
// order, top row first, each row padded to a multiple of 4 bytes, held by the
// platform's surface (render/BitmapSurface.h). It keeps its size until a
// Resize succeeds; a failed Create or Resize leaves it exactly as it was.
#pragma once

#include <cstdint>

struct BitmapSurface;

// What the window needs to copy the picture out: the pixels and their
// geometry, and the platform's surface for a platform that copies from its
// own handle (a memory device context on Windows). Valid until the next
// successful Resize or the bitmap's end.
// A device context only on Windows; on Linux, web and headless, plain memory.
struct MemoryDC {
    const std::uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;  // bytes from one row to the next
    const BitmapSurface* surface = nullptr;
};

class OffscreenBitmap {
  public:
    OffscreenBitmap() = default;
    OffscreenBitmap(const OffscreenBitmap&) = delete;
    OffscreenBitmap& operator=(const OffscreenBitmap&) = delete;
    ~OffscreenBitmap();

    // The pixels are always 24 bits, whatever bitsPerPixel says; it is only
    // recorded.
    bool Create(int width, int height, int bitsPerPixel);
    bool Resize(int width, int height);
    void GetSize(int& outWidth, int& outHeight) const;
    MemoryDC GetMemoryDC() const;

    // The renderer writes the finished frame here.
    std::uint8_t* Pixels() { return pixels; }
    int Stride() const { return StrideFor(width); }
    bool IsCreated() const { return surface != nullptr; }
    // The platform's surface, for the context that renders into it; null
    // before Create succeeds.
    BitmapSurface* Surface() { return surface; }
    int BitsPerPixel() const { return bitsPerPixel; }

    static int StrideFor(int width) { return (width * 3 + 3) / 4 * 4; }

  private:
    // Whether a picture of this size can be asked for: both sides positive
    // and the whole picture within what int and size_t can address.
    static bool Addressable(int width, int height);

    BitmapSurface* surface = nullptr;
    std::uint8_t* pixels = nullptr;  // the surface's, for its current picture
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
};
