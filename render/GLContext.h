// The one thing about velmora's drawing that differs between platforms: the
// OpenGL context that renders into the offscreen bitmap. DrawGL makes every
// OpenGL call of the program over this seam; each platform's file set
// (render/egl, render/wgl, render/webgl) defines RenderingContext and these
// functions, and nothing else of DrawGL.
//
// The contract:
// - A context renders into one bitmap, given when it is made; it draws what
//   the OpenGL 1.1 and GLU calls of DrawGL ask for, whatever the platform's
//   own API is underneath.
// - Another OpenGL user on the same thread (SDL's renderer) may have made its
//   own context current in between: DrawGL makes its own current before it
//   calls OpenGL, and lets it go when asked, so neither draws into the other.
// - Failures to make a context are reported to the user (ShowMessage, under
//   the caption of the call that failed: "SetPixelFormat" when no surface or
//   format can be had, "wglCreateContext" when no context); the others say
//   only whether they worked.
#pragma once

#include "render/OffscreenBitmap.h"

struct RenderingContext;

// A context rendering into bitmap (created, at its size), current on this
// thread; null when there is none, after saying why.
RenderingContext* CreateGLContext(OffscreenBitmap& bitmap);

// What a context is like when it is made current. A browser may take a
// context away (a page in the background on a phone, a graphics reset) and
// give it back empty later.
enum class ContextState {
    kAsLeft,
    // Given back: what the platform keeps for it is built again, but the
    // state DrawGL set at start-up and the surface's size are gone.
    kMadeAnew,
    // Taken away for now: no OpenGL call may follow, and no frame is drawn.
    kTakenAway,
};
// Current on this thread from now on; does nothing when it already is.
ContextState MakeGLContextCurrent(RenderingContext& context);
// Whether an OpenGL error code fetched at a checkpoint is the platform's word
// that the context has just been taken away, and so no drawing error. The
// context then counts as taken away: made current once it is back, it is
// made anew.
bool TakenAwayByError(RenderingContext& context, unsigned int code);
// Not current on this thread any more; does nothing when it is not.
void LetGoOfGLContext(RenderingContext& context);
// The bitmap and the surface the context renders into, both to a new size
// width x height: both change or, returning false, neither does. Current.
bool ResizeGLContext(RenderingContext& context, OffscreenBitmap& bitmap, int width, int height);
// After glFlush: the frame drawn since the last one is in the bitmap's
// pixels. Current.
void FinishGLFrame(RenderingContext& context, OffscreenBitmap& bitmap);
// Releases the context (letting go first when it is current); null does
// nothing. Its bitmap is still there.
void DestroyGLContext(RenderingContext* context);
