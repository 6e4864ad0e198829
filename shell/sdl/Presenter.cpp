#include "shell/sdl/Presenter.h"

std::unique_ptr<Presenter> ChoosePresenter(SDL_Window* window, std::string& error) {
    using Maker = std::unique_ptr<Presenter> (*)(SDL_Window*, std::string&);
    error.clear();
    for (Maker make : {MakeSurfacePresenter, MakeWaylandPresenter, MakeRendererPresenter}) {
        std::string why;
        if (auto presenter = make(window, why)) {
            return presenter;
        }
        error += (error.empty() ? "" : "; ") + why;
    }
    return nullptr;
}
