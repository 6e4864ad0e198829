// velmora's OpenGL context in the browser: a WebGL 1 context on a canvas
// that is never put on the page (context.js), whose drawing buffer every
// frame is rendered into before it is read back into the bitmap, as on
// Linux. The fixed-function state it lacks is kept beside it (FixedState).
#include <GLES2/gl2.h>
#include <emscripten/html5_webgl.h>

#include <algorithm>
#include <memory>
#include <string>

#include "render/DrawGL.h"
#include "render/GLContext.h"
#include "render/Message.h"
#include "render/ReadBack.h"
#include "render/webgl/FixedState.h"

extern "C" {
EMSCRIPTEN_WEBGL_CONTEXT_HANDLE velmora_webgl_create(int width, int height, int* losses);
int velmora_webgl_resize(EMSCRIPTEN_WEBGL_CONTEXT_HANDLE handle, int width, int height);
void velmora_webgl_destroy(EMSCRIPTEN_WEBGL_CONTEXT_HANDLE handle);
}

struct RenderingContext {
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE handle = 0;
    // Counted by the page (context.js) at each webglcontextlost event. A
    // context lost and given back between two ticks looks as it always did
    // by the time a tick asks; only this count tells what it held is gone.
    int losses = 0;
    // The count when what the context holds was last built.
    int lossesBuiltFor = 0;
    // Seen taken away (by a tick, or by its error at a checkpoint), and what
    // it held is not built again yet.
    bool takenAway = false;
    GLint maxSize = 0;
    ReadBackRows bottomUpRows;
    FixedState fixed;
};

namespace {

std::string lastError = "no error";

// WebGL 1 reports a lost context once, with an error code of its own.
constexpr GLenum kContextLostWebGL = 0x9242;

bool FitsSurface(const RenderingContext& context, int width, int height) {
    return width > 0 && height > 0 && width <= context.maxSize && height <= context.maxSize;
}

// The largest side the current context renders: a context given back after
// a graphics reset may be on another device than before.
GLint MaxSurfaceSide() {
    GLint renderbufferSize = 0;
    GLint viewportSize[2] = {0, 0};
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbufferSize);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewportSize);
    return std::min({renderbufferSize, viewportSize[0], viewportSize[1]});
}

}  // namespace

void ShowLastError(const char* caption) {
    ShowMessage(lastError, caption);
}

RenderingContext* CreateGLContext(OffscreenBitmap& bitmap) {
    int width = 0;
    int height = 0;
    bitmap.GetSize(width, height);
    // Made first: the page counts the context's losses into it.
    auto made = std::make_unique<RenderingContext>();
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE handle =
        velmora_webgl_create(width, height, &made->losses);
    if (handle <= 0) {
        lastError = "This browser offers no WebGL context of " + std::to_string(width) + " x " +
                    std::to_string(height) + " pixels.";
        ShowLastError("wglCreateContext");
        return nullptr;
    }
    emscripten_webgl_make_context_current(handle);
    made->handle = handle;
    std::string error;
    if (!MakeFixedState(made->fixed, error)) {
        lastError = "The lighting shader does not build: " + error;
        ShowLastError("wglCreateContext");
        velmora_webgl_destroy(handle);
        return nullptr;
    }
    made->maxSize = MaxSurfaceSide();
    made->bottomUpRows = MakeReadBackRows(width, height);
    if (!made->bottomUpRows.bytes) {
        lastError = "Out of memory.";
        ShowLastError("wglCreateContext");
        velmora_webgl_destroy(handle);
        return nullptr;
    }
    UseFixedState(&made->fixed);
    return made.release();
}

ContextState MakeGLContextCurrent(RenderingContext& context) {
    if (emscripten_webgl_get_current_context() != context.handle) {
        emscripten_webgl_make_context_current(context.handle);
    }
    if (emscripten_is_webgl_context_lost(context.handle)) {
        // The entry points do nothing until it is back.
        context.takenAway = true;
        UseFixedState(nullptr);
        return ContextState::kTakenAway;
    }
    if (!context.takenAway && context.losses == context.lossesBuiltFor) {
        UseFixedState(&context.fixed);
        return ContextState::kAsLeft;
    }
    // Given back empty: the shader pair and the vertex buffer are made again
    // (the old names belong to the context that went), the rest of the
    // fixed state is ours and stayed.
    context.fixed.shader = LightingShader{};
    context.fixed.vertexBuffer = 0;
    context.fixed.triangles.clear();
    context.fixed.polygon.clear();
    std::string error;
    if (!MakeFixedState(context.fixed, error)) {
        // Taken away again before it could be rebuilt; tried again next time.
        UseFixedState(nullptr);
        return ContextState::kTakenAway;
    }
    // The loss leaves its own error behind, which is no error of a frame.
    for (int i = 0; i < 8 && glGetError() != GL_NO_ERROR; ++i) {
    }
    context.maxSize = MaxSurfaceSide();
    context.lossesBuiltFor = context.losses;
    context.takenAway = false;
    UseFixedState(&context.fixed);
    return ContextState::kMadeAnew;
}

bool TakenAwayByError(RenderingContext& context, unsigned int code) {
    if (code != kContextLostWebGL) {
        return false;
    }
    // Lost in the middle of a frame: the rest of it draws nothing, and the
    // first frame after the context's return builds it again.
    context.takenAway = true;
    UseFixedState(nullptr);
    return true;
}

void LetGoOfGLContext(RenderingContext& context) {
    if (emscripten_webgl_get_current_context() == context.handle) {
        emscripten_webgl_make_context_current(0);
        UseFixedState(nullptr);
    }
}

bool ResizeGLContext(RenderingContext& context, OffscreenBitmap& bitmap, int width, int height) {
    int oldWidth = 0;
    int oldHeight = 0;
    bitmap.GetSize(oldWidth, oldHeight);
    // Every piece is had before any is given up, so that a failure leaves
    // the old bitmap and surface in use.
    if (!FitsSurface(context, width, height)) {
        return false;
    }
    auto rows = MakeReadBackRows(width, height);
    if (!rows.bytes || !velmora_webgl_resize(context.handle, width, height)) {
        return false;
    }
    if (!bitmap.Resize(width, height)) {
        velmora_webgl_resize(context.handle, oldWidth, oldHeight);
        return false;
    }
    context.bottomUpRows = std::move(rows);
    return true;
}

void FinishGLFrame(RenderingContext& context, OffscreenBitmap& bitmap) {
    DrawGathered(context.fixed);
    ReadBackFrame(bitmap, context.bottomUpRows);
}

void DestroyGLContext(RenderingContext* context) {
    if (context == nullptr) {
        return;
    }
    LetGoOfGLContext(*context);
    velmora_webgl_destroy(context->handle);
    delete context;
}
