// What the SDL screen does when the system takes part of what it showed
// away: an uncovered window, lost textures, a reset renderer device.
#include <cstdio>

#include "demo/runtime/RuntimeCore.h"
#include "demo/runtime/sdl/SdlPlatform.h"
#include "demo/runtime/sdl/SdlScreen.h"

// A repaint shows again what the last presentation left, at once and without
// the pacer, copying nothing the way of showing still holds.
void RepaintScreen() {
    switch (sdlScreen.path) {
        case ScreenPath::kSurface:
            // The window surface still holds the last frame unless the
            // window dropped it; then the next frame fills it whole.
            if (!sdlScreen.surface.ShowAgain(sdlScreen.window)) {
                DamageWholeScreen();
            }
            break;
        case ScreenPath::kWayland:
            // The compositor keeps the buffer it was given; it is only told
            // to look at all of it with the next commit.
            DamageWaylandWindow(sdlScreen.wayland);
            break;
        case ScreenPath::kRenderer:
            // Every presentation draws the whole texture, which keeps the
            // last frame.
        case ScreenPath::kNone:
            break;
    }
}

void RestoreScreenRenderer() {
    if (sdlScreen.path == ScreenPath::kRenderer) {
        if (!sdlScreen.renderer.Remake(sdlScreen.placement)) {
            std::fprintf(stderr,
                         "wobblet: the renderer could not be made again after its device"
                         " was reset: %s\n",
                         SDL_GetError());
        }
        DamageWholeScreen();
    }
}

void RestoreScreenTextures() {
    if (sdlScreen.path == ScreenPath::kRenderer) {
        sdlScreen.renderer.RestoreTexture(sdlScreen.placement);
        DamageWholeScreen();
    }
}
