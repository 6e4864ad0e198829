// Copying the changed parts of the screen into the window's own surface.
#include "demo/runtime/sdl/SurfacePresent.h"

#include <cstring>

#include "demo/runtime/sdl/WindowClip.h"

namespace {

// The back buffer's layout, blue-green-red-unused in one little-endian word,
// is what X and Wayland windows of depth 24 use: rows are copied as they are.
bool SameLayout(const SDL_PixelFormat& format) {
    return format.BytesPerPixel == 4 && format.Rmask == 0xFF0000 && format.Gmask == 0xFF00 &&
           format.Bmask == 0xFF;
}

}  // namespace

bool SurfacePresenter::Present(SDL_Window* window, int x, int y, const std::uint8_t* topRow,
                               std::ptrdiff_t stride, int width, int height,
                               const std::vector<DamageRect>& changed) {
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (surface == nullptr) {
        Forget();
        return false;
    }
    const bool fresh = surface != shown || surface->pixels != shownPixels ||
                       surface->w != shownWidth || surface->h != shownHeight;
    const DamageRect whole{0, 0, width, height};
    const DamageRect* begin = fresh ? &whole : changed.data();
    const DamageRect* end = fresh ? &whole + 1 : changed.data() + changed.size();
    windowRects.clear();
    for (const DamageRect* r = begin; r != end; ++r) {
        DamageRect inWindow;
        if (ClipToWindow(*r, x, y, surface->w, surface->h, inWindow)) {
            windowRects.push_back(
                SDL_Rect{inWindow.x, inWindow.y, inWindow.width, inWindow.height});
        }
    }
    if (SameLayout(*surface->format) && (!SDL_MUSTLOCK(surface) || SDL_LockSurface(surface) == 0)) {
        for (const SDL_Rect& r : windowRects) {
            const std::size_t bytes = static_cast<std::size_t>(r.w) * 4;
            for (int row = r.y; row < r.y + r.h; ++row) {
                std::memcpy(
                    static_cast<std::uint8_t*>(surface->pixels) + row * surface->pitch + r.x * 4,
                    topRow + (row - y) * stride + (r.x - x) * 4, bytes);
            }
        }
        if (SDL_MUSTLOCK(surface)) {
            SDL_UnlockSurface(surface);
        }
    } else {
        // Another layout: SDL converts.
        SDL_Surface* source =
            SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint8_t*>(topRow), width, height, 32,
                                               static_cast<int>(stride), SDL_PIXELFORMAT_RGB888);
        if (source == nullptr) {
            Forget();
            return false;
        }
        for (SDL_Rect r : windowRects) {
            SDL_Rect from{r.x - x, r.y - y, r.w, r.h};
            SDL_BlitSurface(source, &from, surface, &r);
        }
        SDL_FreeSurface(source);
    }
    if (!windowRects.empty() &&
        SDL_UpdateWindowSurfaceRects(window, windowRects.data(),
                                     static_cast<int>(windowRects.size())) != 0) {
        Forget();
        return false;
    }
    shown = surface;
    shownPixels = surface->pixels;
    shownWidth = surface->w;
    shownHeight = surface->h;
    return true;
}

bool SurfacePresenter::ShowAgain(SDL_Window* window) {
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (surface == nullptr || surface != shown || surface->pixels != shownPixels ||
        surface->w != shownWidth || surface->h != shownHeight) {
        Forget();
        return false;
    }
    if (SDL_UpdateWindowSurface(window) != 0) {
        Forget();
        return false;
    }
    return true;
}
