// Which way the SDL screen presents, decided from what the window and its
// renderer say of themselves alone, so that the choice can be tested without
// a display. The ways: two shared-memory buffers of our own on a Wayland
// window (WaylandPresent.h), an X11 window's own surface in shared memory
// (SurfacePresent.h), or an SDL renderer (RendererPresent.h).
#pragma once

#include <string>
#include <vector>

// The window system a window is on, as far as the choice goes.
enum class WindowSystem { kX11, kWayland, kOther };

// One way to try when the screen opens; the first that opens is kept.
enum class PresentStep {
    // An accelerated renderer, kept only where PreferRenderer says.
    kGpuRenderer,
    // An accelerated renderer, whatever it is: the only way that stretches.
    kStretchingRenderer,
    kWaylandBuffers,
    kWindowSurface,
    // Whatever renderer SDL has for the window.
    kAnyRenderer,
};

// The ways to try, in order. A renderer on a Wayland window would put a
// context of its own on the surface the buffers go to: there it is tried only
// when nothing else can show the screen, or to stretch it.
std::vector<PresentStep> PresentSteps(WindowSystem system, bool stretch);

// What a renderer reports about itself.
struct RendererTraits {
    std::string name;        // SDL's renderer name: "opengl", "software", ...
    std::string rasteriser;  // an OpenGL renderer's GL_RENDERER text, else empty
    bool accelerated = false;
    bool waitsForRetrace = false;
};

// The renderer is kept where presenting through it is cheap and, when the
// screen asks for it, waits for the retrace: a graphics processor's. An
// OpenGL that rasterises on the CPU calls itself accelerated and may claim a
// retrace wait it cannot give (a virtual display has none), while drawing
// each frame's quad costs it far more than copying the changed rectangles;
// there, and with SDL's software renderer, the window surface is cheaper and
// the frame pacer keeps time.
bool PreferRenderer(const RendererTraits& traits, bool wantRetrace);
