// GDI drawing on the screen's back buffer, the native output of Platform.h:
// block copies (plain or exclusive-or) of the images' bitmaps, and boxes and
// lines with a pen and a brush of the current colour.
#include <algorithm>

#include "demo/runtime/DrawTarget.h"
#include "demo/runtime/Platform.h"
#include "demo/runtime/win32/Win32Screen.h"

namespace {

// Mode bits as the GDI output reads them.
constexpr int kTransparentBackground = 1;
constexpr int kOutline = 4;

struct ScreenDrawing {
    IDirect3DSurface9* surface = nullptr;
    HDC dc = nullptr;
    // Where image bitmaps are selected to be copied from.
    HDC imageDc = nullptr;
    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    // What the device context held before, given back at the end.
    HGDIOBJ replacedPen = nullptr;
    HGDIOBJ replacedBrush = nullptr;
};

// One output is current at a time, so one context serves.
ScreenDrawing drawing;

COLORREF ColourRef(const DrawTarget& output) {
    return RGB(output.red, output.green, output.blue);
}

bool Xor(const DrawTarget& output) {
    return (output.mode & DrawModeXor) != 0;
}

}  // namespace

void ApplyNativeState(DrawTarget& output) {
    HPEN pen = CreatePen(PS_SOLID, 1, ColourRef(output));
    HBRUSH brush = (output.mode & kOutline) != 0 ? static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))
                                                 : CreateSolidBrush(ColourRef(output));
    SelectObject(drawing.dc, pen);
    SelectObject(drawing.dc, brush);
    if (drawing.pen != nullptr) {
        DeleteObject(drawing.pen);
    }
    if (drawing.brush != nullptr) {
        DeleteObject(drawing.brush);  // stock objects ignore this
    }
    drawing.pen = pen;
    drawing.brush = brush;
    SetROP2(drawing.dc, Xor(output) ? R2_XORPEN : R2_COPYPEN);
    SetBkMode(drawing.dc, (output.mode & kTransparentBackground) != 0 ? TRANSPARENT : OPAQUE);
}

void NativeFillRect(DrawTarget& output, int x, int y, int width, int height) {
    PatBlt(drawing.dc, x, y, width, height, Xor(output) ? PATINVERT : PATCOPY);
}

void NativeDrawLine(DrawTarget& /*output*/, int x1, int y1, int x2, int y2) {
    MoveToEx(drawing.dc, x1, y1, nullptr);
    LineTo(drawing.dc, x2, y2);
}

void NativeBlitImage(DrawTarget& output, const PixelBuffer& image, int x, int y) {
    const auto bitmap = static_cast<HBITMAP>(image.Native());
    if (bitmap == nullptr) {
        return;
    }
    // Alpha plays no part: a 32-bit image is copied with its colours only.
    const HGDIOBJ replaced = SelectObject(drawing.imageDc, bitmap);
    BitBlt(drawing.dc, x, y, image.width, image.height, drawing.imageDc, 0, 0,
           Xor(output) ? SRCINVERT : SRCCOPY);
    SelectObject(drawing.imageDc, replaced);
}

void ReleaseNativeOutput(DrawTarget& /*output*/) {
    if (drawing.dc != nullptr) {
        SelectObject(drawing.dc, drawing.replacedPen);
        SelectObject(drawing.dc, drawing.replacedBrush);
        drawing.surface->ReleaseDC(drawing.dc);
    }
    if (drawing.pen != nullptr) {
        DeleteObject(drawing.pen);
    }
    if (drawing.brush != nullptr) {
        DeleteObject(drawing.brush);
    }
    if (drawing.imageDc != nullptr) {
        DeleteDC(drawing.imageDc);
    }
    drawing = ScreenDrawing{};
}

DrawTarget* MakeScreenDrawing(IDirect3DSurface9* backBuffer, int width, int height) {
    EndDrawing();
    HDC dc = nullptr;
    if (FAILED(backBuffer->GetDC(&dc))) {
        return nullptr;
    }
    drawing.surface = backBuffer;
    drawing.dc = dc;
    drawing.imageDc = CreateCompatibleDC(dc);
    drawing.replacedPen = GetCurrentObject(dc, OBJ_PEN);
    drawing.replacedBrush = GetCurrentObject(dc, OBJ_BRUSH);
    if (drawing.imageDc == nullptr) {
        DrawTarget unmade;
        ReleaseNativeOutput(unmade);
        return nullptr;
    }
    DrawTarget* output = MakeNativeDrawTarget(DrawTargetKind::kScreen, width, height, 32, &drawing);
    if (output != nullptr) {
        // Every pass starts in copy mode with black.
        ApplyNativeState(*output);
    }
    return output;
}

void EndScreenDrawing() {
    EndNativeDrawing(&drawing);
}
