// velmora's OpenGL context on Linux: an EGL context on the display
// EglDisplay.cpp finds, rendering into a framebuffer object (Framebuffer.cpp)
// that each finished frame is read back from. Needs no X server and no
// window, so the window, the capture tool and the tests all render the same
// way.
#define GL_GLEXT_PROTOTYPES 1
#include <EGL/egl.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <memory>
#include <string>
#include <utility>

#include "render/DrawGL.h"
#include "render/GLContext.h"
#include "render/Message.h"
#include "render/ReadBack.h"
#include "render/egl/EglConfig.h"
#include "render/egl/EglDisplay.h"
#include "render/egl/EglError.h"
#include "render/egl/Framebuffer.h"

struct RenderingContext {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLContext context = EGL_NO_CONTEXT;
    GLint maxRenderbufferSize = 0;
    Framebuffer surface;
};

void ShowLastError(const char* caption) {
    const EGLint error = eglGetError();
    // Finding no display at all records no error; say what failed instead
    // of reporting success.
    ShowMessage(error == EGL_SUCCESS ? "no EGL display could be opened" : EglErrorText(error),
                caption);
}

RenderingContext* CreateGLContext(OffscreenBitmap& bitmap) {
    int width = 0;
    int height = 0;
    bitmap.GetSize(width, height);
    // Choosing and binding the drawing surface.
    EGLDisplay display = OpenDisplay();
    EGLConfig config = nullptr;
    if (display == EGL_NO_DISPLAY || !eglBindAPI(EGL_OPENGL_API) ||
        !ChooseConfig(display, config)) {
        ShowLastError("SetPixelFormat");
        return nullptr;
    }
    // No profile attributes: a compatibility context, where the
    // fixed-function calls work.
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
    if (context == EGL_NO_CONTEXT) {
        ShowLastError("wglCreateContext");
        return nullptr;
    }
    if (!eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context)) {
        ShowLastError("wglCreateContext");
        eglDestroyContext(display, context);
        return nullptr;
    }
    auto made = std::make_unique<RenderingContext>();
    made->display = display;
    made->context = context;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &made->maxRenderbufferSize);
    if (!MakeFramebuffer(width, height, made->maxRenderbufferSize, 0, made->surface)) {
        ShowMessage("No framebuffer of " + std::to_string(width) + " x " + std::to_string(height) +
                        " pixels can be rendered (the largest is " +
                        std::to_string(made->maxRenderbufferSize) + ").",
                    "SetPixelFormat");
        eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(display, context);
        return nullptr;
    }
    return made.release();
}

ContextState MakeGLContextCurrent(RenderingContext& context) {
    if (eglGetCurrentContext() != context.context) {
        eglMakeCurrent(context.display, EGL_NO_SURFACE, EGL_NO_SURFACE, context.context);
    }
    return ContextState::kAsLeft;
}

bool TakenAwayByError(RenderingContext&, unsigned int) {
    return false;  // nothing takes this context away: every error is a drawing error
}

void LetGoOfGLContext(RenderingContext& context) {
    if (eglGetCurrentContext() == context.context) {
        eglMakeCurrent(context.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }
}

bool ResizeGLContext(RenderingContext& context, OffscreenBitmap& bitmap, int width, int height) {
    // The new surface first, so that a failure of either leaves the old
    // bitmap and surface in use.
    Framebuffer next;
    if (!MakeFramebuffer(width, height, context.maxRenderbufferSize, context.surface.framebuffer,
                         next)) {
        return false;
    }
    if (!bitmap.Resize(width, height)) {
        ReleaseFramebuffer(next);
        glBindFramebuffer(GL_FRAMEBUFFER, context.surface.framebuffer);
        return false;
    }
    ReleaseFramebuffer(context.surface);
    context.surface = std::move(next);
    return true;
}

void FinishGLFrame(RenderingContext& context, OffscreenBitmap& bitmap) {
    ReadBackFrame(bitmap, context.surface.bottomUpRows);
}

void DestroyGLContext(RenderingContext* context) {
    if (context == nullptr) {
        return;
    }
    // The framebuffer goes with the context; released first only where that
    // is the context in use, so no other context's objects are touched.
    if (eglGetCurrentContext() == context->context) {
        ReleaseFramebuffer(context->surface);
        eglMakeCurrent(context->display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }
    eglDestroyContext(context->display, context->context);
    delete context;
}
