// Presenting through an SDL renderer: the screen is a streaming texture,
// updated only in the changed rectangles, drawn whole into the window. The
// way that works with any SDL video driver, and the only one that stretches.
#pragma once

#include <SDL.h>

#include <vector>

#include "demo/runtime/PixelBuffer.h"
#include "demo/runtime/Platform.h"
#include "demo/runtime/ScreenDamage.h"

class RendererPresenter {
  public:
    // Takes renderer (made for the placement's window) and makes its
    // texture; false, with the renderer destroyed, when there is none.
    bool Open(SDL_Renderer* renderer, const ScreenPlacement& placement);
    // Puts the changed parts into the texture, which keeps the rest, and
    // draws it. A renderer that lost its texture gets a new one, filled whole.
    bool Present(const ScreenPlacement& placement, const PixelBuffer& back,
                 const std::vector<DamageRect>& changed);
    // Makes the texture again (the renderer lost it): it holds nothing yet.
    void RestoreTexture(const ScreenPlacement& placement);
    // Makes the renderer and its texture again, as they were made, for the
    // placement's window: after a reset of its device the old renderer is
    // gone. False, with none left, when no new one can be had.
    bool Remake(const ScreenPlacement& placement);
    void Close();
    bool IsOpen() const { return renderer != nullptr; }

  private:
    bool Draw(const ScreenPlacement& placement, const PixelBuffer& back,
              const std::vector<DamageRect>& changed);

    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    // What the renderer was asked for when it was made.
    Uint32 flags = 0;
};
