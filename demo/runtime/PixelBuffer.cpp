#include "demo/runtime/PixelBuffer.h"

#include <atomic>
#include <new>

#include "demo/runtime/Platform.h"

void PixelMemoryRelease::operator()(std::uint8_t* bits) const {
    ReleasePixelMemory(bits, native);
}

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
    auto buffer = std::unique_ptr<PixelBuffer>(new (std::nothrow) PixelBuffer);
    if (!buffer) {
        return nullptr;
    }
    PixelMemoryRequest request;
    request.width = width;
    request.height = height;
    request.depth = depth;
    request.bottomUp = bottomUp;
    request.bytes = bytes;
    request.zeroed = zeroed;
    void* native = nullptr;
    std::uint8_t* bits = AcquirePixelMemory(request, native);
    if (bits == nullptr) {
        return nullptr;
    }
    buffer->width = width;
    buffer->height = height;
    buffer->bytesPerPixel = bytesPerPixel;
    buffer->stride = stride;
    buffer->bottomUp = bottomUp;
    buffer->bits = std::unique_ptr<std::uint8_t[], PixelMemoryRelease>(bits, {native});
    buffer->version = NewPixelVersion();
    buffer->ink.SetWidth(width);
    return buffer;
}

}  // namespace

std::unique_ptr<PixelBuffer> NewPixelBuffer(int width, int height, int depth, bool bottomUp) {
    return AllocatePixelBuffer(width, height, depth, bottomUp, true);
}

std::unique_ptr<PixelBuffer> NewUnfilledPixelBuffer(int width, int height, int depth) {
    return AllocatePixelBuffer(width, height, depth, true, false);
}
