// Asking SDL about a window, its display and its renderer (WindowProbe.h).
#include "demo/runtime/sdl/WindowProbe.h"

#include <SDL_syswm.h>

WindowSystem WindowSystemOf(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE) {
        return WindowSystem::kOther;
    }
    switch (info.subsystem) {
        case SDL_SYSWM_X11:
            return WindowSystem::kX11;
        case SDL_SYSWM_WAYLAND:
            return WindowSystem::kWayland;
        default:
            return WindowSystem::kOther;
    }
}

int RefreshRateOf(SDL_Window* window) {
    SDL_DisplayMode mode;
    if (SDL_GetWindowDisplayMode(window, &mode) == 0 && mode.refresh_rate > 0) {
        return mode.refresh_rate;
    }
    const int display = SDL_GetWindowDisplayIndex(window);
    if (display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0) {
        return mode.refresh_rate;
    }
    return 0;
}

RendererTraits RendererTraitsOf(SDL_Renderer* renderer) {
    RendererTraits traits;
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0) {
        return traits;
    }
    traits.name = info.name != nullptr ? info.name : "";
    traits.accelerated = (info.flags & SDL_RENDERER_ACCELERATED) != 0;
    traits.waitsForRetrace = (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    // SDL does not pass on which rasteriser its OpenGL renderer got, and the
    // program links no OpenGL: the one string is asked for through SDL's
    // loader, in the renderer's context, which SDL has left current.
    if (traits.name.rfind("opengl", 0) == 0 && SDL_GL_GetCurrentContext() != nullptr) {
        using GetString = const unsigned char* (*)(unsigned);
        constexpr unsigned kGlRenderer = 0x1F01;
        const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
        const unsigned char* text = getString != nullptr ? getString(kGlRenderer) : nullptr;
        if (text != nullptr) {
            traits.rasteriser = reinterpret_cast<const char*>(text);
        }
    }
    return traits;
}
