// The read-back of EGL and WebGL alike: OpenGL 1.1 calls only, which both
// have.
#include "render/ReadBack.h"

#include <GL/gl.h>

#include <cstddef>
#include <new>

#include "render/PixelRows.h"

std::unique_ptr<std::uint8_t[]> MakeReadBackRows(int width, int height) {
    return std::unique_ptr<std::uint8_t[]>(
        new (std::nothrow)
            std::uint8_t[static_cast<std::size_t>(width) * 4 * static_cast<std::size_t>(height)]());
}

void ReadBackFrame(OffscreenBitmap& bitmap, std::uint8_t* bottomUpRows) {
    // OpenGL's rows run bottom-up, the bitmap's top-down. Turning the rows
    // over here keeps the projection as it is: flipping it instead would
    // swap which faces count as front and back.
    int width = 0;
    int height = 0;
    bitmap.GetSize(width, height);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUpRows);
    PackBottomUpRgbaIntoBgr(bottomUpRows, width, height, bitmap.Pixels(), bitmap.Stride());
}
