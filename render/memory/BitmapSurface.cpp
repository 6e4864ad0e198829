// The bitmap's pixels as plain memory, for platforms whose OpenGL context
// renders elsewhere and copies each frame in.
#include "render/BitmapSurface.h"

#include <cstddef>
#include <memory>
#include <new>

#include "render/OffscreenBitmap.h"

struct BitmapSurface {
    std::unique_ptr<std::uint8_t[]> pixels;
};

namespace {

std::unique_ptr<std::uint8_t[]> NewPicture(int width, int height) {
    const std::size_t bytes = static_cast<std::size_t>(OffscreenBitmap::StrideFor(width)) *
                              static_cast<std::size_t>(height);
    return std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[bytes]());
}

}  // namespace

BitmapSurface* CreateBitmapSurface(int width, int height, std::uint8_t*& pixels) {
    std::unique_ptr<std::uint8_t[]> picture = NewPicture(width, height);
    if (!picture) {
        return nullptr;
    }
    BitmapSurface* surface = new (std::nothrow) BitmapSurface{std::move(picture)};
    if (surface != nullptr) {
        pixels = surface->pixels.get();
    }
    return surface;
}

bool ReplaceBitmapPicture(BitmapSurface& surface, int width, int height, std::uint8_t*& pixels) {
    std::unique_ptr<std::uint8_t[]> picture = NewPicture(width, height);
    if (!picture) {
        return false;
    }
    surface.pixels = std::move(picture);
    pixels = surface.pixels.get();
    return true;
}

void DestroyBitmapSurface(BitmapSurface* surface) {
    delete surface;
}
