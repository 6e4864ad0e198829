#include "render/wgl/DibSurface.h"

#include <new>

#include "render/BitmapSurface.h"

namespace {

// A DIB section of width x height: 24 bits, rows top-down (negative height),
// 1 pixel per metre, no colour table. Its memory comes zeroed.
HBITMAP MakeDib(int width, int height, std::uint8_t*& pixels) {
    BITMAPINFO info{};
    BITMAPINFOHEADER& header = info.bmiHeader;
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = -height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = 0;
    header.biXPelsPerMeter = 1;
    header.biYPelsPerMeter = 1;
    header.biClrUsed = 0;
    header.biClrImportant = 0;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr) {
        pixels = static_cast<std::uint8_t*>(bits);
    }
    return bitmap;
}

}  // namespace

static_assert(sizeof(BITMAPINFOHEADER) == 40);

BitmapSurface* CreateBitmapSurface(int width, int height, std::uint8_t*& pixels) {
    std::uint8_t* bits = nullptr;
    HBITMAP bitmap = MakeDib(width, height, bits);
    if (bitmap == nullptr) {
        return nullptr;
    }
    // Without a device context there is nothing to render into or copy
    // from: give up here rather than hand on a surface that fails later.
    HDC memoryDC = CreateCompatibleDC(nullptr);
    BitmapSurface* surface = memoryDC != nullptr ? new (std::nothrow) BitmapSurface : nullptr;
    if (surface == nullptr) {
        if (memoryDC != nullptr) {
            DeleteDC(memoryDC);
        }
        DeleteObject(bitmap);
        return nullptr;
    }
    surface->bitmap = bitmap;
    surface->memoryDC = memoryDC;
    surface->previousObject = SelectObject(memoryDC, bitmap);
    pixels = bits;
    return surface;
}

bool ReplaceBitmapPicture(BitmapSurface& surface, int width, int height, std::uint8_t*& pixels) {
    std::uint8_t* bits = nullptr;
    HBITMAP bitmap = MakeDib(width, height, bits);
    if (bitmap == nullptr) {
        return false;
    }
    SelectObject(surface.memoryDC, surface.previousObject);
    DeleteObject(surface.bitmap);
    surface.bitmap = bitmap;
    surface.previousObject = SelectObject(surface.memoryDC, bitmap);
    pixels = bits;
    return true;
}

void DestroyBitmapSurface(BitmapSurface* surface) {
    if (surface == nullptr) {
        return;
    }
    if (surface->memoryDC != nullptr) {
        SelectObject(surface->memoryDC, surface->previousObject);
        DeleteDC(surface->memoryDC);
    }
    if (surface->bitmap != nullptr) {
        DeleteObject(surface->bitmap);
    }
    delete surface;
}
