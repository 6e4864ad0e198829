// An SDL renderer with a streaming texture the bitmap is copied into, for a
// video driver that offers neither a window surface nor a Wayland surface.
// Its OpenGL context (if the renderer has one) and velmora's share this
// thread, so every call here runs with velmora's context let go and SDL's
// made current, and leaves no context current afterwards: velmora's next
// drawing makes its own current again.
#include <algorithm>
#include <cstring>

#include "render/PixelRows.h"
#include "shell/App.h"
#include "shell/sdl/Presenter.h"

namespace {

class RendererPresenter final : public Presenter {
  public:
    RendererPresenter(SDL_Window* window, SDL_Renderer* renderer, SDL_GLContext context)
        : window(window), renderer(renderer), context(context) {}

    ~RendererPresenter() override {
        OwnContext own(*this);
        if (texture != nullptr) {
            SDL_DestroyTexture(texture);
        }
        SDL_DestroyRenderer(renderer);
        context = nullptr;  // went with the renderer
    }

    void Show(const MemoryDC& source, int width, int height) override {
        if (source.pixels == nullptr || width <= 0 || height <= 0) {
            return;
        }
        OwnContext own(*this);
        if (!FitTexture(source.width, source.height)) {
            return;
        }
        void* pixels = nullptr;
        int pitch = 0;
        if (SDL_LockTexture(texture, nullptr, &pixels, &pitch) != 0) {
            return;
        }
        CopyBgrIntoXrgb(source, static_cast<std::uint8_t*>(pixels), pitch, source.width,
                        source.height, 0);
        SDL_UnlockTexture(texture);
        const SDL_Rect shared{0, 0, std::min(width, source.width), std::min(height, source.height)};
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        SDL_RenderCopy(renderer, texture, &shared, &shared);
        SDL_RenderPresent(renderer);
    }

    void Black(int width, int height) override {
        if (width <= 0 || height <= 0) {
            return;
        }
        OwnContext own(*this);
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        SDL_RenderPresent(renderer);
    }

    const char* Name() const override { return "renderer"; }

    bool ReadBack(int width, int height, std::uint32_t* xrgb) {
        OwnContext own(*this);
        const SDL_Rect rect{0, 0, width, height};
        return SDL_RenderReadPixels(renderer, &rect, SDL_PIXELFORMAT_RGB888, xrgb, width * 4) == 0;
    }

  private:
    // SDL's context current for one call, velmora's let go around it.
    class OwnContext {
      public:
        explicit OwnContext(RendererPresenter& presenter) : presenter(presenter) {
            theDrawGL.LetGoOfContext();
            if (presenter.context != nullptr) {
                SDL_GL_MakeCurrent(presenter.window, presenter.context);
            }
        }
        ~OwnContext() {
            if (presenter.context != nullptr) {
                SDL_GL_MakeCurrent(presenter.window, nullptr);
            }
        }
        OwnContext(const OwnContext&) = delete;
        OwnContext& operator=(const OwnContext&) = delete;

      private:
        RendererPresenter& presenter;
    };

    bool FitTexture(int width, int height) {
        if (texture != nullptr && width == textureWidth && height == textureHeight) {
            return true;
        }
        if (texture != nullptr) {
            SDL_DestroyTexture(texture);
        }
        texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                    width, height);
        textureWidth = texture != nullptr ? width : 0;
        textureHeight = texture != nullptr ? height : 0;
        return texture != nullptr;
    }

    SDL_Window* window;
    SDL_Renderer* renderer;
    SDL_GLContext context;
    SDL_Texture* texture = nullptr;
    int textureWidth = 0;
    int textureHeight = 0;
};

}  // namespace

bool ReadRendererPixels(Presenter& presenter, int width, int height, std::uint32_t* xrgb) {
    auto* renderer = dynamic_cast<RendererPresenter*>(&presenter);
    return renderer != nullptr && renderer->ReadBack(width, height, xrgb);
}

std::unique_ptr<Presenter> MakeRendererPresenter(SDL_Window* window, std::string& why) {
    theDrawGL.LetGoOfContext();
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, 0);
    if (renderer == nullptr) {
        why = std::string("no renderer (") + SDL_GetError() + ")";
        SDL_ClearError();
        return nullptr;
    }
    // An OpenGL renderer has just made its context current.
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(renderer, &info);
    SDL_GLContext context =
        std::strncmp(info.name, "opengl", 6) == 0 ? SDL_GL_GetCurrentContext() : nullptr;
    if (context != nullptr) {
        SDL_GL_MakeCurrent(window, nullptr);
    }
    return std::make_unique<RendererPresenter>(window, renderer, context);
}
