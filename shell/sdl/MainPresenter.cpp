// Owns the main window's presenter, so that the window's code and the
// core's copies never need to know which way was chosen.
#include "shell/sdl/MainPresenter.h"

#include "shell/Platform.h"

namespace {

// Released by DestroyMainWindow. After a clean run main destroys neither the
// window nor this: both go with the process.
Presenter* presenter = nullptr;

}  // namespace

bool ChooseMainPresenter(SDL_Window* window, PresenterChoice choose, std::string& why) {
    presenter = choose(window, why).release();
    return presenter != nullptr;
}

void ReleaseMainPresenter() {
    delete presenter;
    presenter = nullptr;
}

const char* PresenterName() {
    return presenter != nullptr ? presenter->Name() : "none";
}

bool MainPresenterCanBeSeen() {
    return presenter == nullptr || presenter->CanBeSeen();
}

void FillClientBlack(int width, int height) {
    if (presenter != nullptr) {
        presenter->Black(width, height);
    }
}

void CopyToWindow(const MemoryDC& source, int width, int height) {
    if (presenter != nullptr && width > 0 && height > 0) {
        presenter->Show(source, width, height);
    }
}
