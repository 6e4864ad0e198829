#include "render/OffscreenBitmap.h"

#include <cstddef>
#include <cstring>
#include <limits>
#include <new>

std::unique_ptr<std::uint8_t[]> OffscreenBitmap::Allocate(int width, int height) {
    // The stride of width w is at most 3w + 3 bytes; keep it and the whole
    // buffer within what int and size_t can hold.
    if (width <= 0 || height <= 0 || width > (std::numeric_limits<int>::max() - 3) / 3) {
        return nullptr;
    }
    const std::size_t stride = static_cast<std::size_t>(StrideFor(width));
    if (static_cast<std::size_t>(height) > std::numeric_limits<std::ptrdiff_t>::max() / stride) {
        return nullptr;
    }
    const std::size_t bytes = stride * static_cast<std::size_t>(height);
    std::unique_ptr<std::uint8_t[]> memory(new (std::nothrow) std::uint8_t[bytes]);
    if (memory) {
        std::memset(memory.get(), 0, bytes);
    }
    return memory;
}

bool OffscreenBitmap::Replace(int newWidth, int newHeight) {
    std::unique_ptr<std::uint8_t[]> memory = Allocate(newWidth, newHeight);
    if (!memory) {
        return false;  // the old picture and its size stay
    }
    pixels = std::move(memory);
    width = newWidth;
    height = newHeight;
    return true;
}

bool OffscreenBitmap::Create(int newWidth, int newHeight, int newBitsPerPixel) {
    if (!Replace(newWidth, newHeight)) {
        return false;
    }
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
    return Replace(newWidth, newHeight);
}

void OffscreenBitmap::GetSize(int& outWidth, int& outHeight) const {
    outWidth = width;
    outHeight = height;
}

MemoryDC OffscreenBitmap::GetMemoryDC() const {
    return MemoryDC{pixels.get(), width, height, Stride()};
}
