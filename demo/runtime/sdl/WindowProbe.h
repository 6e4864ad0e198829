// What SDL, and through it the system, says about a window that the screen's
// choices depend on: its window system, its display's refresh rate, and what
// a renderer made for it is.
#pragma once

#include <SDL.h>

#include "demo/runtime/sdl/PresentPath.h"

WindowSystem WindowSystemOf(SDL_Window* window);
// In hertz; 0 when the display does not say.
int RefreshRateOf(SDL_Window* window);
// As far as presenting costs and waits are concerned. An OpenGL renderer
// names its rasteriser.
RendererTraits RendererTraitsOf(SDL_Renderer* renderer);
