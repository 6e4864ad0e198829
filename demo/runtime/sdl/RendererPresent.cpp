// Presenting through an SDL renderer's streaming texture.
#include "demo/runtime/sdl/RendererPresent.h"

namespace {

SDL_Texture* MakeTexture(SDL_Renderer* renderer, const ScreenPlacement& placement) {
    return SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                             placement.width, placement.height);
}

// The part of the window the screen covers: its own rectangle, or with
// automatic stretch whatever the window leaves after the offsets.
SDL_Rect Destination(const ScreenPlacement& placement) {
    SDL_Rect rect{placement.x, placement.y, placement.width, placement.height};
    if (placement.autoStretch) {
        int innerWidth = 0;
        int innerHeight = 0;
        SDL_GetWindowSize(static_cast<SDL_Window*>(placement.parent), &innerWidth, &innerHeight);
        rect.w = innerWidth - placement.x - placement.rightOffset;
        rect.h = innerHeight - placement.y - placement.bottomOffset;
    }
    return rect;
}

}  // namespace

bool RendererPresenter::Open(SDL_Renderer* made, const ScreenPlacement& placement) {
    Close();
    if (made == nullptr) {
        return false;
    }
    renderer = made;
    SDL_RendererInfo info;
    flags = SDL_GetRendererInfo(renderer, &info) == 0
                ? info.flags & (SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC)
                : 0;
    texture = MakeTexture(renderer, placement);
    if (texture == nullptr) {
        Close();
        return false;
    }
    return true;
}

bool RendererPresenter::Present(const ScreenPlacement& placement, const PixelBuffer& back,
                                const std::vector<DamageRect>& changed) {
    if (texture != nullptr && Draw(placement, back, changed)) {
        return true;
    }
    // The texture may have gone with the device: once more, whole.
    RestoreTexture(placement);
    const std::vector<DamageRect> whole{{0, 0, placement.width, placement.height}};
    return texture != nullptr && Draw(placement, back, whole);
}

void RendererPresenter::RestoreTexture(const ScreenPlacement& placement) {
    if (texture != nullptr) {
        SDL_DestroyTexture(texture);
    }
    texture = renderer != nullptr ? MakeTexture(renderer, placement) : nullptr;
}

bool RendererPresenter::Remake(const ScreenPlacement& placement) {
    const Uint32 asked = flags;
    Close();
    return Open(SDL_CreateRenderer(static_cast<SDL_Window*>(placement.parent), -1, asked),
                placement);
}

void RendererPresenter::Close() {
    if (texture != nullptr) {
        SDL_DestroyTexture(texture);
    }
    if (renderer != nullptr) {
        SDL_DestroyRenderer(renderer);
    }
    texture = nullptr;
    renderer = nullptr;
}

// The window is cleared first only where the screen leaves part of it
// uncovered.
bool RendererPresenter::Draw(const ScreenPlacement& placement, const PixelBuffer& back,
                             const std::vector<DamageRect>& changed) {
    for (const DamageRect& r : changed) {
        const SDL_Rect rect{r.x, r.y, r.width, r.height};
        if (SDL_UpdateTexture(texture, &rect, back.Row(r.y) + r.x * 4,
                              static_cast<int>(back.stride)) != 0) {
            return false;
        }
    }
    const SDL_Rect source{0, 0, placement.width, placement.height};
    const SDL_Rect destination = Destination(placement);
    int outputWidth = 0;
    int outputHeight = 0;
    SDL_GetRendererOutputSize(renderer, &outputWidth, &outputHeight);
    if (destination.x > 0 || destination.y > 0 || destination.x + destination.w < outputWidth ||
        destination.y + destination.h < outputHeight) {
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
    }
    if (SDL_RenderCopy(renderer, texture, &source, &destination) != 0) {
        return false;
    }
    SDL_RenderPresent(renderer);
    return true;
}
