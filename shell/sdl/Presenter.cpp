// The choice among the ways, in the order Presenter.h gives.
#include "shell/sdl/Presenter.h"

std::unique_ptr<Presenter> ChoosePresenter(SDL_Window* window, std::string& error) {
    error.clear();
    for (PresenterChoice make :
         {MakeSurfacePresenter, MakeWaylandPresenter, MakeRendererPresenter}) {
        std::string why;
        if (auto presenter = make(window, why)) {
            return presenter;
        }
        error += (error.empty() ? "" : "; ") + why;
    }
    return nullptr;
}
