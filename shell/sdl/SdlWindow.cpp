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
// its frame (X11: _NET_FRAME_EXTENTS) only after it has taken the window on,
// some only after the window is on the screen, and it may change the frame
// later. So the client area starts as the whole 300 x 200, and whenever the
// frame SDL reports is not the one the window was last fitted to, the client
// area gives the frame its share again, keeping the whole centred. That goes
// on while the client area is the size it was fitted to: once the user has
// resized or maximised the window it is left as they made it. Without a
// window manager no frame is ever reported and nothing changes.
bool followingFrame = false;
FrameBorders fittedBorders;
int fittedWidth = 0;
int fittedHeight = 0;

bool SameBorders(const FrameBorders& a, const FrameBorders& b) {
    return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}

}  // namespace

void FollowFrame() {
    if (!followingFrame) {
        return;
    }
    FrameBorders borders;
    if (SDL_GetWindowBordersSize(mainWindow, &borders.top, &borders.left, &borders.bottom,
                                 &borders.right) != 0) {
        followingFrame = false;  // this video driver cannot tell
        return;
    }
    if (SameBorders(borders, fittedBorders)) {
        return;
    }
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(mainWindow, &width, &height);
    if (width != fittedWidth || height != fittedHeight ||
        (SDL_GetWindowFlags(mainWindow) & (SDL_WINDOW_MAXIMIZED | SDL_WINDOW_FULLSCREEN)) != 0) {
        followingFrame = false;
        return;
    }
    const ClientRect rect = CentredClientRect(screenWidth, screenHeight, borders);
    SDL_SetWindowSize(mainWindow, rect.width, rect.height);
    if (screenWidth > 0 && screenHeight > 0) {
        SDL_SetWindowPosition(mainWindow, rect.x, rect.y);
    }
    fittedBorders = borders;
    fittedWidth = rect.width;
    fittedHeight = rect.height;
}

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
    fittedBorders = FrameBorders{};
    SDL_GetWindowSize(mainWindow, &fittedWidth, &fittedHeight);
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

void ShowMainWindow() {
    if (mainWindow == nullptr) {
        return;
    }
    SDL_ShowWindow(mainWindow);
    followingFrame = true;
    FollowFrame();
}

void GetClientSize(int& width, int& height) {
    width = 0;
    height = 0;
    if (mainWindow != nullptr) {
        SDL_GetWindowSize(mainWindow, &width, &height);
    }
}

// X11 tells SDL when the window is minimised (iconic) or unmapped, and SDL
// keeps it in the window's flags. A Wayland compositor tells neither, and
// SDL 2 passes on no suspended state: there the way the picture takes
// learns it from the compositor's frame callbacks (WaylandPresenter.cpp).
bool MainWindowCanBeSeen() {
    return mainWindow != nullptr &&
           (SDL_GetWindowFlags(mainWindow) & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)) == 0 &&
           MainPresenterCanBeSeen();
}
