// velmora's OpenGL context on Linux: an EGL context on Mesa's surfaceless
// platform, rendering into a framebuffer object of the bitmap's size, and the
// copy of each finished frame into the bitmap. Needs no X server and no window, so
// the window, the capture tool and the tests all render the same way.
#define GL_GLEXT_PROTOTYPES 1
#define EGL_EGLEXT_PROTOTYPES 1
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "render/DrawGL.h"
#include "render/GLContext.h"
#include "render/Message.h"
#include "render/egl/EglError.h"

namespace {

// The framebuffer object the frames are drawn into, with the 32-bit pixels
// that glReadPixels fills (bottom row first) before they are packed into the
// bitmap's 24-bit rows.
struct Surface {
    GLuint framebuffer = 0;
    GLuint colorBuffer = 0;
    GLuint depthBuffer = 0;
    std::unique_ptr<std::uint8_t[]> bottomUpRows;
};

// Red-green-blue-alpha pixels to blue-green-red, one row. Reading back
// RGBA, the colour buffer's own layout, is a plain copy in Mesa, where asking
// for BGR runs its general converter; with this loop vectorised the whole
// read-back costs about a fifth of what the BGR one did (see
// bench/velmora/readback_bench.cpp). The plain x86-64 baseline has no byte
// shuffle, so GCC also builds an SSSE3 copy and picks one when the program
// loads.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("ssse3", "default")))
#endif
void PackRgbaRowAsBgr(const std::uint8_t* rgba, std::uint8_t* bgr, int width) {
    for (int x = 0; x < width; ++x) {
        bgr[3 * x + 0] = rgba[4 * x + 2];
        bgr[3 * x + 1] = rgba[4 * x + 1];
        bgr[3 * x + 2] = rgba[4 * x + 0];
    }
}

}  // namespace

struct RenderingContext {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLContext context = EGL_NO_CONTEXT;
    GLint maxRenderbufferSize = 0;
    Surface surface;
};

namespace {

// A display that initializes: Mesa's surfaceless platform, else the first
// EGL device, else the default display. EGL_NO_DISPLAY when none does.
EGLDisplay OpenDisplay() {
    const auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay != nullptr) {
        EGLDisplay display =
            getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (display != EGL_NO_DISPLAY && eglInitialize(display, nullptr, nullptr)) {
            return display;
        }
        const auto queryDevices =
            reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT"));
        EGLDeviceEXT device = nullptr;
        EGLint deviceCount = 0;
        if (queryDevices != nullptr && queryDevices(1, &device, &deviceCount) && deviceCount > 0) {
            display = getPlatformDisplay(EGL_PLATFORM_DEVICE_EXT, device, nullptr);
            if (display != EGL_NO_DISPLAY && eglInitialize(display, nullptr, nullptr)) {
                return display;
            }
        }
    }
    EGLDisplay display = eglGetDisplay(EGL_DEFAULT_DISPLAY);
    if (display != EGL_NO_DISPLAY && eglInitialize(display, nullptr, nullptr)) {
        return display;
    }
    return EGL_NO_DISPLAY;
}

bool HasExtension(EGLDisplay display, const char* name) {
    const char* list = eglQueryString(display, EGL_EXTENSIONS);
    if (list == nullptr) {
        return false;
    }
    const std::size_t length = std::strlen(name);
    for (const char* at = std::strstr(list, name); at != nullptr; at = std::strstr(at + 1, name)) {
        const bool startsWord = at == list || at[-1] == ' ';
        const bool endsWord = at[length] == ' ' || at[length] == '\0';
        if (startsWord && endsWord) {
            return true;
        }
    }
    return false;
}

// A configuration for a desktop OpenGL context; none is needed where the
// display can make contexts without one.
bool ChooseConfig(EGLDisplay display, EGLConfig& config) {
    if (HasExtension(display, "EGL_KHR_no_config_context")) {
        config = EGL_NO_CONFIG_KHR;
        return true;
    }
    const EGLint attributes[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_SURFACE_TYPE,
                                 EGL_PBUFFER_BIT, EGL_NONE};
    EGLint count = 0;
    return eglChooseConfig(display, attributes, &config, 1, &count) && count == 1;
}

void ReleaseSurface(Surface& surface) {
    glDeleteFramebuffers(1, &surface.framebuffer);
    glDeleteRenderbuffers(1, &surface.colorBuffer);
    glDeleteRenderbuffers(1, &surface.depthBuffer);
    surface = Surface{};
}

// A complete framebuffer of width x height, bound for drawing and reading.
// On failure nothing is left behind and the framebuffer that was bound
// before is bound again.
bool MakeSurface(const RenderingContext& context, int width, int height, Surface& out) {
    if (width <= 0 || height <= 0 || width > context.maxRenderbufferSize ||
        height > context.maxRenderbufferSize) {
        return false;
    }
    Surface surface;
    // Both sizes are at most the renderbuffer limit, far below what would
    // overflow size_t. Zeroed once per size, so that a read-back the driver
    // refused still hands on defined bytes.
    const std::size_t bytes =
        static_cast<std::size_t>(width) * 4 * static_cast<std::size_t>(height);
    surface.bottomUpRows.reset(new (std::nothrow) std::uint8_t[bytes]());
    if (!surface.bottomUpRows) {
        return false;
    }
    glGenRenderbuffers(1, &surface.colorBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, surface.colorBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glGenRenderbuffers(1, &surface.depthBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, surface.depthBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glGenFramebuffers(1, &surface.framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, surface.framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                              surface.colorBuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                              surface.depthBuffer);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        ReleaseSurface(surface);
        glBindFramebuffer(GL_FRAMEBUFFER, context.surface.framebuffer);
        return false;
    }
    out = std::move(surface);
    return true;
}

}  // namespace

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
    if (!MakeSurface(*made, width, height, made->surface)) {
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

void LetGoOfGLContext(RenderingContext& context) {
    if (eglGetCurrentContext() == context.context) {
        eglMakeCurrent(context.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }
}

bool ResizeGLContext(RenderingContext& context, OffscreenBitmap& bitmap, int width, int height) {
    // The new surface first, so that a failure of either leaves the old
    // bitmap and surface in use.
    Surface next;
    if (!MakeSurface(context, width, height, next)) {
        return false;
    }
    if (!bitmap.Resize(width, height)) {
        ReleaseSurface(next);
        glBindFramebuffer(GL_FRAMEBUFFER, context.surface.framebuffer);
        return false;
    }
    ReleaseSurface(context.surface);
    context.surface = std::move(next);
    return true;
}

void FinishGLFrame(RenderingContext& context, OffscreenBitmap& bitmap) {
    // OpenGL's rows run bottom-up, the bitmap's top-down. Turning the rows
    // over here keeps the projection as it is: flipping it instead would
    // swap which faces count as front and back.
    // Only width * 3 bytes of each bitmap row are written, so the padding
    // keeps the zeros the bitmap was made with.
    int width = 0;
    int height = 0;
    bitmap.GetSize(width, height);
    const std::size_t stride = static_cast<std::size_t>(bitmap.Stride());
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    std::uint8_t* rows = context.surface.bottomUpRows.get();
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rows);
    std::uint8_t* pixels = bitmap.Pixels();
    for (int y = 0; y < height; ++y) {
        PackRgbaRowAsBgr(rows + static_cast<std::size_t>(height - 1 - y) * rowBytes,
                         pixels + static_cast<std::size_t>(y) * stride, width);
    }
}

void DestroyGLContext(RenderingContext* context) {
    if (context == nullptr) {
        return;
    }
    // The framebuffer goes with the context; released first only where that
    // is the context in use, so no other context's objects are touched.
    if (eglGetCurrentContext() == context->context) {
        ReleaseSurface(context->surface);
        eglMakeCurrent(context->display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }
    eglDestroyContext(context->display, context->context);
    delete context;
}
