// The window's own surface: shared memory with the X server under X11, plain
// memory under SDL's offscreen driver. SDL drops the surface when the window
// changes size, so it is fetched anew on every use.
//
// SDL may build the surface over a renderer of its own with an OpenGL
// context (SDL_FRAMEBUFFER_ACCELERATION in the environment outweighs the
// program's hint). That context then becomes current inside SDL's calls, and
// a thread may hold contexts of only one OpenGL API at a time where the
// vendor-neutral dispatch is used (EGL for velmora, perhaps GLX for SDL): so
// every call here runs with velmora's context let go, and leaves SDL's let
// go too.
#include <algorithm>

#include "render/PixelRows.h"
#include "shell/App.h"
#include "shell/sdl/Presenter.h"

namespace {

class SdlCalls {
  public:
    SdlCalls() { theDrawGL.LetGoOfContext(); }
    ~SdlCalls() {
        if (SDL_GL_GetCurrentContext() != nullptr) {
            SDL_GL_MakeCurrent(nullptr, nullptr);
        }
    }
    SdlCalls(const SdlCalls&) = delete;
    SdlCalls& operator=(const SdlCalls&) = delete;
};

class SurfacePresenter final : public Presenter {
  public:
    explicit SurfacePresenter(SDL_Window* window) : window(window) {}

    void Show(const MemoryDC& source, int width, int height) override {
        const SdlCalls sdl;
        SDL_Surface* surface = SDL_GetWindowSurface(window);
        if (surface == nullptr || source.pixels == nullptr || width <= 0 || height <= 0) {
            return;
        }
        SDL_Rect to{0, 0, std::min({width, source.width, surface->w}),
                    std::min({height, source.height, surface->h})};
        const SDL_PixelFormat& format = *surface->format;
        if (format.BytesPerPixel == 4 && format.Rmask == 0xFF0000 && format.Gmask == 0xFF00 &&
            format.Bmask == 0xFF) {
            if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) {
                return;
            }
            CopyBgrIntoXrgb(source, static_cast<std::uint8_t*>(surface->pixels), surface->pitch,
                            to.w, to.h, format.Amask);
            if (SDL_MUSTLOCK(surface)) {
                SDL_UnlockSurface(surface);
            }
        } else if (!BlitOtherLayout(source, surface, to)) {
            return;
        }
        if (to.w > 0 && to.h > 0) {
            SDL_UpdateWindowSurfaceRects(window, &to, 1);
        }
    }

    void Black(int width, int height) override {
        const SdlCalls sdl;
        SDL_Surface* surface = SDL_GetWindowSurface(window);
        if (surface == nullptr || width <= 0 || height <= 0) {
            return;
        }
        SDL_Rect rect{0, 0, width, height};
        SDL_FillRect(surface, &rect, SDL_MapRGB(surface->format, 0, 0, 0));
        SDL_UpdateWindowSurface(window);
    }

    const char* Name() const override { return "window surface"; }

  private:
    // A surface of another layout: SDL's general converter.
    static bool BlitOtherLayout(const MemoryDC& source, SDL_Surface* surface, SDL_Rect& to) {
        SDL_Surface* bitmap = SDL_CreateRGBSurfaceWithFormatFrom(
            const_cast<std::uint8_t*>(source.pixels), source.width, source.height, 24,
            source.stride, SDL_PIXELFORMAT_BGR24);
        if (bitmap == nullptr) {
            return false;
        }
        SDL_Rect from{0, 0, to.w, to.h};
        const bool blitted = SDL_BlitSurface(bitmap, &from, surface, &to) == 0;
        SDL_FreeSurface(bitmap);
        return blitted;
    }

    SDL_Window* window;
};

}  // namespace

std::unique_ptr<Presenter> MakeSurfacePresenter(SDL_Window* window, std::string& why) {
    // Asked with SDL's framebuffer acceleration off, so a driver without a
    // surface of its own says so instead of building one over a renderer.
    const SdlCalls sdl;
    if (SDL_GetWindowSurface(window) == nullptr) {
        const char* error = SDL_GetError();
        why = std::string("no window surface") +
              (*error != '\0' ? " (" + std::string(error) + ")" : "");
        SDL_ClearError();
        return nullptr;
    }
    return std::make_unique<SurfacePresenter>(window);
}
