// This SDL has no Wayland driver: no window is ever on Wayland.
#include "demo/runtime/sdl/WaylandPresent.h"

WaylandScreen* OpenWaylandScreen(SDL_Window* /*window*/) {
    return nullptr;
}

ScreenShown PresentOnWayland(WaylandScreen* /*screen*/, SDL_Window* /*window*/, int /*x*/,
                             int /*y*/, const std::uint8_t* /*topRow*/, std::ptrdiff_t /*stride*/,
                             int /*width*/, int /*height*/,
                             const std::vector<DamageRect>& /*changed*/) {
    return ScreenShown::kLost;
}

WaylandPoolCalls waylandPoolCalls{nullptr};

void ForgetWaylandScreen(WaylandScreen* /*screen*/) {}
void DamageWaylandWindow(WaylandScreen* /*screen*/) {}
void CloseWaylandScreen(WaylandScreen* /*screen*/) {}
