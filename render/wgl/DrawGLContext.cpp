// The Windows half of DrawGL: a pixel format that draws to a bitmap on the
// bitmap's memory device context, one WGL rendering context current for the
// program's life, and OpenGL drawing straight into the DIB section's pixels,
// so a frame needs no read-back.
#include <windows.h>
// After windows.h, which the OpenGL header needs.
#include <GL/gl.h>

#include <string>

#include "render/DrawGL.h"
#include "render/Message.h"
#include "render/wgl/DibSurface.h"

struct RenderingContext {
    HGLRC context = nullptr;
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

bool DrawGL::Create(int width, int height) {
    if (renderingContext != nullptr || !bitmap.Create(width, height, 24)) {
        return false;
    }
    HDC memoryDC = bitmap.Surface()->memoryDC;
    const PIXELFORMATDESCRIPTOR descriptor = BitmapPixelFormat();
    // A format of 0 (none found) is refused by SetPixelFormat, which reports.
    const int format = ChoosePixelFormat(memoryDC, &descriptor);
    if (!SetPixelFormat(memoryDC, format, &descriptor)) {
        ShowLastError("SetPixelFormat");
        return false;
    }
    HGLRC context = wglCreateContext(memoryDC);
    if (context == nullptr) {
        ShowLastError("wglCreateContext");
        return false;
    }
    // A context that cannot be made current would draw nothing while the
    // program believed it drew.
    if (!wglMakeCurrent(memoryDC, context)) {
        ShowLastError("wglMakeCurrent");
        wglDeleteContext(context);
        return false;
    }
    renderingContext = new RenderingContext{context};
    return true;
}

bool DrawGL::Resize(int width, int height) {
    if (!bitmap.Resize(width, height)) {
        return false;  // the old bitmap and viewport stay
    }
    if (renderingContext != nullptr) {
        // The same context made current again over the device context, so
        // that it takes up the bitmap now selected into it rather than
        // drawing on into the memory of the one just deleted.
        wglMakeCurrent(bitmap.Surface()->memoryDC, renderingContext->context);
        glViewport(0, 0, width, height);
    }
    return true;
}

void DrawGL::FinishDraw() {
    // The context draws into the bitmap's own pixels: once flushed, the
    // frame is there for the window to copy.
    glFlush();
    CheckError("FinishDraw");
}

DrawGL::~DrawGL() {
    if (renderingContext == nullptr) {
        return;
    }
    if (wglGetCurrentContext() == renderingContext->context) {
        wglMakeCurrent(nullptr, nullptr);
    }
    wglDeleteContext(renderingContext->context);
    delete renderingContext;
    renderingContext = nullptr;
}
