// The bitmap's surface on Windows: a 24-bit top-down DIB section selected into
// a memory device context compatible with the screen. The device context
// lives as long as the surface; a new picture only swaps the bitmap selected
// into it, so a pixel format and rendering context bound to the device
// context stay valid. The window copies from memoryDC with BitBlt.
#pragma once

#include <windows.h>

struct BitmapSurface {
    HBITMAP bitmap = nullptr;
    // What memoryDC held before bitmap was selected; selected back before
    // bitmap is deleted.
    HGDIOBJ previousObject = nullptr;
    HDC memoryDC = nullptr;
};
