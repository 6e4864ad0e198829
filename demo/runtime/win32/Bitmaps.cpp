// Images on Win32 are device-independent bitmap sections: the run-time's
// pixel routines write their bits directly, and GDI fills and copies them
// where a block operation is wanted.
#include <windows.h>

#include <new>

#include "demo/runtime/PixelBuffer.h"
#include "demo/runtime/Platform.h"

namespace {

// A memory device context with bitmap selected, undone when it goes.
class BitmapDc {
  public:
    explicit BitmapDc(void* bitmap) : dc(CreateCompatibleDC(nullptr)) {
        if (dc != nullptr) {
            replaced = SelectObject(dc, static_cast<HBITMAP>(bitmap));
        }
    }
    ~BitmapDc() {
        if (dc != nullptr) {
            SelectObject(dc, replaced);
            DeleteDC(dc);
        }
    }
    BitmapDc(const BitmapDc&) = delete;
    BitmapDc& operator=(const BitmapDc&) = delete;

    bool Ready() const { return dc != nullptr && replaced != nullptr; }
    HDC Get() const { return dc; }

  private:
    HDC dc;
    HGDIOBJ replaced = nullptr;
};

}  // namespace

std::uint8_t* AcquirePixelMemory(const PixelMemoryRequest& request, void*& native) {
    native = nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = request.width;
    // A negative height is a top-down bitmap.
    info.bmiHeader.biHeight = request.bottomUp ? request.height : -request.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(request.depth);
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    // A section's rows are padded to 4 bytes, as the run-time's are, and its
    // bits start out zero.
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr || bits == nullptr) {
        if (bitmap != nullptr) {
            DeleteObject(bitmap);
        }
        return nullptr;
    }
    native = bitmap;
    return static_cast<std::uint8_t*>(bits);
}

void ReleasePixelMemory(std::uint8_t* /*bits*/, void* native) {
    if (native != nullptr) {
        DeleteObject(static_cast<HBITMAP>(native));
    }
}

namespace {

// While an image is drawn on, its bitmap sits in a memory device context and
// GDI does each call at once: nothing GDI queued may land after the pixel
// routines' direct writes.
struct ImageOutput {
    HDC dc = nullptr;
    HGDIOBJ replaced = nullptr;
    DWORD batchLimit = 0;
};

}  // namespace

void* OpenImageOutput(PixelBuffer& image) {
    auto* output = new (std::nothrow) ImageOutput;
    if (output == nullptr) {
        return nullptr;
    }
    output->batchLimit = GdiSetBatchLimit(1);
    output->dc = CreateCompatibleDC(nullptr);
    if (output->dc != nullptr) {
        output->replaced = SelectObject(output->dc, static_cast<HBITMAP>(image.Native()));
    }
    return output;
}

void CloseImageOutput(void* state) {
    auto* output = static_cast<ImageOutput*>(state);
    if (output->dc != nullptr) {
        if (output->replaced != nullptr) {
            SelectObject(output->dc, output->replaced);
        }
        DeleteDC(output->dc);
    }
    GdiSetBatchLimit(output->batchLimit);
    delete output;
}

bool NativeFillPixels(PixelBuffer& buffer, Color color) {
    BitmapDc dc(buffer.Native());
    if (!dc.Ready()) {
        return false;
    }
    HBRUSH brush = CreateSolidBrush(color & 0xFFFFFFu);
    if (brush == nullptr) {
        return false;
    }
    const RECT all{0, 0, buffer.width, buffer.height};
    const bool filled = FillRect(dc.Get(), &all, brush) != 0;
    DeleteObject(brush);
    // The pixel routines write the bits next: nothing may still be queued.
    GdiFlush();
    return filled;
}

bool NativeCopyRect(PixelBuffer& to, const PixelBuffer& from, int x, int y, int width, int height) {
    BitmapDc target(to.Native());
    BitmapDc source(from.Native());
    if (!target.Ready() || !source.Ready()) {
        return false;
    }
    // GDI leaves what lies outside the source alone: it stays black.
    const bool copied = BitBlt(target.Get(), 0, 0, width, height, source.Get(), x, y, SRCCOPY) != 0;
    GdiFlush();
    return copied;
}
