// Which way the SDL screen presents: through an SDL renderer, or by copying
// the changed parts into the window's own surface (SurfacePresent.h).
#pragma once

#include <string>

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
// each frame's quad costs a fifth of a core; there, and with SDL's software
// renderer, the window surface is far cheaper and the frame pacer keeps time.
bool PreferRenderer(const RendererTraits& traits, bool wantRetrace);
