// Built where SDL has no Wayland driver.
#include "shell/sdl/Presenter.h"

std::unique_ptr<Presenter> MakeWaylandPresenter(SDL_Window*, std::string& why) {
    why = "no Wayland support in this build";
    return nullptr;
}
