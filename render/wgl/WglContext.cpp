// velmora's OpenGL context on Windows: a pixel format that draws to a bitmap on the
// bitmap's memory device context, one WGL rendering context current for the
// program's life, and OpenGL drawing straight into the DIB section's pixels,
// so a frame needs no read-back.
#include <windows.h>
// After windows.h, which the OpenGL header needs.
#include <GL/gl.h>

#include <string>

#include "render/DrawGL.h"
#include "render/GLContext.h"
#include "render/Message.h"
#include "render/wgl/DibSurface.h"

struct RenderingContext {
    HGLRC context = nullptr;
    // The bitmap's memory device context, which lives as long as the bitmap.
    HDC memoryDC = nullptr;
};

namespace {

PIXELFORMATDESCRIPTOR BitmapPixelFormat() {
    PIXELFORMATDESCRIPTOR descriptor{};
    descriptor.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    descriptor.nVersion = 1;
    descriptor.dwFlags =
        PFD_DRAW_TO_BITMAP | PFD_SUPPORT_GDI | PFD_SUPPORT_OPENGL | PFD_STEREO_DONTCARE;
    descriptor.iPixelType = PFD_TYPE_RGBA;
    descriptor.cColorBits = 24;
    descriptor.cAccumBits = 32;
    descriptor.cAccumRedBits = 11;
    descriptor.cAccumGreenBits = 11;
    descriptor.cAccumBlueBits = 10;
    descriptor.cAccumAlphaBits = 0;
    descriptor.cDepthBits = 32;
    descriptor.cStencilBits = 8;
    descriptor.cAuxBuffers = 0;
    descriptor.iLayerType = PFD_MAIN_PLANE;
    return descriptor;
}

static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40);

}  // namespace

void ShowLastError(const char* caption) {
    const DWORD error = GetLastError();
    char* text = nullptr;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                                        nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                        reinterpret_cast<LPSTR>(&text), 0, nullptr);
    // A code the system has no text for is still reported, by its number.
    const std::string message = length > 0 && text != nullptr
                                    ? std::string(text, length)
                                    : "system error " + std::to_string(error);
    if (text != nullptr) {
        LocalFree(text);
    }
    ShowMessage(message, caption, MessageOwner::kFocusWindow);
}

RenderingContext* CreateGLContext(OffscreenBitmap& bitmap) {
    HDC memoryDC = bitmap.Surface()->memoryDC;
    const PIXELFORMATDESCRIPTOR descriptor = BitmapPixelFormat();
    // A format of 0 (none found) is refused by SetPixelFormat, which reports.
    const int format = ChoosePixelFormat(memoryDC, &descriptor);
    if (!SetPixelFormat(memoryDC, format, &descriptor)) {
        ShowLastError("SetPixelFormat");
        return nullptr;
    }
    HGLRC context = wglCreateContext(memoryDC);
    if (context == nullptr) {
        ShowLastError("wglCreateContext");
        return nullptr;
    }
    // A context that cannot be made current would draw nothing while the
    // program believed it drew.
    if (!wglMakeCurrent(memoryDC, context)) {
        ShowLastError("wglMakeCurrent");
        wglDeleteContext(context);
        return nullptr;
    }
    return new RenderingContext{context, memoryDC};
}

ContextState MakeGLContextCurrent(RenderingContext& context) {
    if (wglGetCurrentContext() != context.context) {
        wglMakeCurrent(context.memoryDC, context.context);
    }
    return ContextState::kAsLeft;
}

bool TakenAwayByError(RenderingContext&, unsigned int) {
    return false;  // nothing takes this context away: every error is a drawing error
}

void LetGoOfGLContext(RenderingContext& context) {
    if (wglGetCurrentContext() == context.context) {
        wglMakeCurrent(nullptr, nullptr);
    }
}

bool ResizeGLContext(RenderingContext& context, OffscreenBitmap& bitmap, int width, int height) {
    if (!bitmap.Resize(width, height)) {
        return false;
    }
    // The same context made current again over the device context, so that
    // it takes up the bitmap now selected into it rather than drawing on
    // into the memory of the one just deleted.
    wglMakeCurrent(context.memoryDC, context.context);
    return true;
}

void FinishGLFrame(RenderingContext&, OffscreenBitmap&) {
    // The context draws into the bitmap's own pixels: once flushed, the
    // frame is there for the window to copy.
}

void DestroyGLContext(RenderingContext* context) {
    if (context == nullptr) {
        return;
    }
    LetGoOfGLContext(*context);
    wglDeleteContext(context->context);
    delete context;
}
