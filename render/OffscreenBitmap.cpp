#include "render/OffscreenBitmap.h"

#include <cstddef>
#include <limits>

#include "render/BitmapSurface.h"

OffscreenBitmap::~OffscreenBitmap() {
    DestroyBitmapSurface(surface);
}

bool OffscreenBitmap::Addressable(int width, int height) {
    // The stride of width w is at most 3w + 3 bytes; keep it and the whole
    // picture within what int and size_t can hold.
    if (width <= 0 || height <= 0 || width > (std::numeric_limits<int>::max() - 3) / 3) {
        return false;
    }
    const std::size_t stride = static_cast<std::size_t>(StrideFor(width));
    return static_cast<std::size_t>(height) <=
           static_cast<std::size_t>(std::numeric_limits<std::ptrdiff_t>::max()) / stride;
}

bool OffscreenBitmap::Create(int newWidth, int newHeight, int newBitsPerPixel) {
    if (!Addressable(newWidth, newHeight)) {
        return false;
    }
    std::uint8_t* newPixels = nullptr;
    if (surface != nullptr) {
        // Created before: a new picture on the same surface, so that a
        // context bound to the surface stays valid.
        if (!ReplaceBitmapPicture(*surface, newWidth, newHeight, newPixels)) {
            return false;
        }
    } else {
        surface = CreateBitmapSurface(newWidth, newHeight, newPixels);
        if (surface == nullptr) {
            return false;
        }
    }
    pixels = newPixels;
    width = newWidth;
    height = newHeight;
    bitsPerPixel = newBitsPerPixel;
    return true;
}

bool OffscreenBitmap::Resize(int newWidth, int newHeight) {
    // Before a successful Create there is nothing to resize: the caller
    // must not get a picture it never asked to create.
    if (!IsCreated()) {
        return false;
    }
    if (newWidth == width && newHeight == height) {
        return true;
    }
    std::uint8_t* newPixels = nullptr;
    if (!Addressable(newWidth, newHeight) ||
        !ReplaceBitmapPicture(*surface, newWidth, newHeight, newPixels)) {
        return false;  // the old picture and its size stay
    }
    pixels = newPixels;
    width = newWidth;
    height = newHeight;
    return true;
}

void OffscreenBitmap::GetSize(int& outWidth, int& outHeight) const {
    outWidth = width;
    outHeight = height;
}

MemoryDC OffscreenBitmap::GetMemoryDC() const {
    return MemoryDC{pixels, width, height, Stride(), surface};
}
