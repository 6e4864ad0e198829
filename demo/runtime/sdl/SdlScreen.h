// The SDL screen while it is open: which way it presents and that way's
// state. Screen.cpp opens, presents and closes it; ScreenRepair.cpp answers
// the system's events that take part of it away.
#pragma once

#include <SDL.h>

#include "demo/runtime/Platform.h"
#include "demo/runtime/sdl/RendererPresent.h"
#include "demo/runtime/sdl/SurfacePresent.h"
#include "demo/runtime/sdl/WaylandPresent.h"

enum class ScreenPath { kNone, kRenderer, kSurface, kWayland };

struct SdlScreen {
    ScreenPath path = ScreenPath::kNone;
    SDL_Window* window = nullptr;
    ScreenPlacement placement;
    RendererPresenter renderer;
    SurfacePresenter surface;
    WaylandScreen* wayland = nullptr;
};

// One screen is open at a time (Platform.h).
extern SdlScreen sdlScreen;
