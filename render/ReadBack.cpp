// The read-back of EGL and WebGL alike: OpenGL 1.1 calls only, which both
// have.
#include "render/ReadBack.h"

#include <GL/gl.h>

#include <cstddef>
#include <new>

#include "render/PixelRows.h"

ReadBackRows MakeReadBackRows(int width, int height) {
    ReadBackRows rows;
    rows.bytes.reset(
        new (std::nothrow)
            std::uint8_t[static_cast<std::size_t>(width) * 4 * static_cast<std::size_t>(height)]());
    if (rows.bytes) {
        rows.width = width;
        rows.height = height;
    }
    return rows;
}

bool ReadBackFrame(OffscreenBitmap& bitmap, ReadBackRows& rows) {
    // The driver writes as many rows as it is asked for: asked for the
    // bitmap's size, rows of any other would be written past their end.
    int width = 0;
    int height = 0;
    bitmap.GetSize(width, height);
    if (!rows.bytes || rows.width != width || rows.height != height) {
        return false;
    }
    // OpenGL's rows run bottom-up, the bitmap's top-down. Turning the rows
    // over here keeps the projection as it is: flipping it instead would
    // swap which faces count as front and back.
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rows.bytes.get());
    PackBottomUpRgbaIntoBgr(rows.bytes.get(), width, height, bitmap.Pixels(), bitmap.Stride());
    return true;
}
