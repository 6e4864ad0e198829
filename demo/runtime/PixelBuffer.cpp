#include "demo/runtime/PixelBuffer.h"

#include <atomic>
#include <new>

std::uint64_t NewPixelVersion() {
    static std::atomic<std::uint64_t> last{0};
    return ++last;
}

std::ptrdiff_t RowStride(int width, int bytesPerPixel) {
    return (static_cast<std::ptrdiff_t>(width) * bytesPerPixel + 3) / 4 * 4;
}

namespace {

std::unique_ptr<PixelBuffer> AllocatePixelBuffer(int width, int height, int depth, bool bottomUp,
                                                 bool zeroed) {
    if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide) {
        return nullptr;
    }
    if (depth != 24 && depth != 32) {
        return nullptr;
    }
    const int bytesPerPixel = depth / 8;
    const std::ptrdiff_t stride = RowStride(width, bytesPerPixel);
    const std::size_t bytes = static_cast<std::size_t>(stride) * static_cast<std::size_t>(height);
    if (bytes > kMaxPixelBytes) {
        return nullptr;
    }
    // calloc: large buffers come zeroed from the system without touching
    // every page.
    auto* bits = static_cast<std::uint8_t*>(zeroed ? std::calloc(bytes, 1) : std::malloc(bytes));
    if (bits == nullptr) {
        return nullptr;
    }
    auto buffer = std::unique_ptr<PixelBuffer>(new (std::nothrow) PixelBuffer);
    if (!buffer) {
        std::free(bits);
        return nullptr;
    }
    buffer->width = width;
    buffer->height = height;
    buffer->bytesPerPixel = bytesPerPixel;
    buffer->stride = stride;
    buffer->bottomUp = bottomUp;
    buffer->bits.reset(bits);
    buffer->version = NewPixelVersion();
    return buffer;
}

}  // namespace

std::unique_ptr<PixelBuffer> NewPixelBuffer(int width, int height, int depth, bool bottomUp) {
    return AllocatePixelBuffer(width, height, depth, bottomUp, true);
}

std::unique_ptr<PixelBuffer> NewUnfilledPixelBuffer(int width, int height, int depth) {
    return AllocatePixelBuffer(width, height, depth, true, false);
}
