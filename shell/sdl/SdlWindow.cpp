// The main window itself: its creation, its icon, and the fitting of its
// client area into the 300 x 200 the window manager's frame leaves.
#include "shell/sdl/SdlWindow.h"

#include "shell/App.h"
#include "shell/Platform.h"
#include "shell/icon/Icon.h"
#include "shell/sdl/MainPresenter.h"
#include "shell/sdl/TickTimer.h"
#include "shell/sdl/WindowPlacement.h"

namespace {

SDL_Window* mainWindow = nullptr;
int screenWidth = 0;
int screenHeight = 0;

void SetIcon(SDL_Window* window) {
    auto pixels = IconPixels();
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), kIconSize, kIconSize, 32,
                                                           kIconSize * 4, SDL_PIXELFORMAT_ARGB8888);
    if (icon != nullptr) {
        SDL_SetWindowIcon(window, icon);  // SDL keeps its own copy
        SDL_FreeSurface(icon);
    }
}

// The 300 x 200 are the outside of the window. The window manager reports
// its frame only after it has taken the window on, so the client area starts
// as the whole 300 x 200 and gives the frame its share, keeping the whole
// centred, as soon as the frame is known: at the latest by the first expose,
// which comes after the window manager has framed and mapped the window.
// Without a window manager no frame is ever reported and nothing changes.
bool fittingFrame = false;

void FitOuterSize() {
    FrameBorders borders;
    if (SDL_GetWindowBordersSize(mainWindow, &borders.top, &borders.left, &borders.bottom,
                                 &borders.right) != 0) {
        fittingFrame = false;  // this video driver cannot tell
        return;
    }
    if (borders.top == 0 && borders.left == 0 && borders.bottom == 0 && borders.right == 0) {
        return;
    }
    fittingFrame = false;
    const ClientRect rect = CentredClientRect(screenWidth, screenHeight, borders);
    SDL_SetWindowSize(mainWindow, rect.width, rect.height);
    if (screenWidth > 0 && screenHeight > 0) {
        SDL_SetWindowPosition(mainWindow, rect.x, rect.y);
    }
}

}  // namespace

bool CreateMainWindow(std::string& error, PresenterChoice choose) {
    if (!RegisterTickEvent(error)) {
        return false;
    }
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
        screenWidth = mode.w;
        screenHeight = mode.h;
    }
    const ClientRect rect = CentredClientRect(screenWidth, screenHeight, FrameBorders{});
    // With no screen size to centre on, SDL's own centring beats a window
    // placed half off the screen.
    const bool screenKnown = screenWidth > 0 && screenHeight > 0;
    mainWindow = SDL_CreateWindow(kWindowTitle, screenKnown ? rect.x : SDL_WINDOWPOS_CENTERED,
                                  screenKnown ? rect.y : SDL_WINDOWPOS_CENTERED, rect.width,
                                  rect.height, SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
    if (mainWindow == nullptr) {
        error = SDL_GetError();
        return false;
    }
    SetIcon(mainWindow);
    // A window nobody can see must not run on invisibly.
    std::string why;
    if (!ChooseMainPresenter(mainWindow, choose, why)) {
        error = "the window cannot show a picture: " + why;
        return false;
    }
    return true;
}

SDL_Window* MainWindow() {
    return mainWindow;
}

void DestroyMainWindow() {
    StopTimer(kTimerId);
    ReleaseMainPresenter();
    if (mainWindow != nullptr) {
        SDL_DestroyWindow(mainWindow);
        mainWindow = nullptr;
    }
}

void FitFrameAtWindowEvent(bool exposed) {
    if (!fittingFrame) {
        return;
    }
    FitOuterSize();
    if (exposed) {
        fittingFrame = false;
    }
}

void ShowMainWindow() {
    if (mainWindow == nullptr) {
        return;
    }
    SDL_ShowWindow(mainWindow);
    fittingFrame = true;
    FitOuterSize();
}

void GetClientSize(int& width, int& height) {
    width = 0;
    height = 0;
    if (mainWindow != nullptr) {
        SDL_GetWindowSize(mainWindow, &width, &height);
    }
}

// What SDL says of the window: minimised (iconic) or unmapped under X11.
bool MainWindowCanBeSeen() {
    return mainWindow != nullptr &&
           (SDL_GetWindowFlags(mainWindow) & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)) == 0;
}
