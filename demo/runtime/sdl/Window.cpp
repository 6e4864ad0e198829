// SDL windows: making and placing them, and their events in the run-time's
// terms.
#include "demo/runtime/Events.h"
#include "demo/runtime/Platform.h"
#include "demo/runtime/RuntimeCore.h"
#include "demo/runtime/WindowTable.h"
#include "demo/runtime/sdl/SdlPlatform.h"

namespace {

int NumberOfWindowId(Uint32 id) {
    SDL_Window* window = SDL_GetWindowFromID(id);
    return window == nullptr ? -1 : WindowNumberOf(window);
}

// Puts the window's outer top-left corner, title bar included, at (x, y).
// Window managers report the frame only once the window is mapped.
void PlaceOuterCorner(SDL_Window* window, int x, int y) {
    int top = 0;
    int left = 0;
    if (SDL_GetWindowBordersSize(window, &top, &left, nullptr, nullptr) != 0) {
        return;
    }
    int innerX = 0;
    int innerY = 0;
    SDL_GetWindowPosition(window, &innerX, &innerY);
    if (innerX != x + left || innerY != y + top) {
        SDL_SetWindowPosition(window, x + left, y + top);
    }
}

}  // namespace

bool CreatePlatformWindow(WindowRecord& record, const WindowRequest& request) {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        return false;
    }
    const bool centre = (request.flags & (WindowCentreOnScreen | WindowCentreOnParent)) != 0;
    const bool systemPlaces =
        request.x == WindowAnyPosition || (request.y == WindowAnyPosition && !centre);
    int posX = request.x;
    int posY = request.y;
    if (centre) {
        posX = posY = SDL_WINDOWPOS_CENTERED;
    } else if (systemPlaces) {
        posX = posY = SDL_WINDOWPOS_UNDEFINED;
    }
    // Fixed size: no resizable flag. Shown after placing, so that it does
    // not jump.
    SDL_Window* window = SDL_CreateWindow(request.title, posX, posY, request.innerWidth,
                                          request.innerHeight, SDL_WINDOW_HIDDEN);
    if (window == nullptr) {
        return false;
    }
    record.handle = window;
    if ((request.flags & WindowHidden) == 0) {
        SDL_ShowWindow(window);
        if (!centre && !systemPlaces) {
            PlaceOuterCorner(window, request.x, request.y);
        }
    }
    return true;
}

void DestroyPlatformWindow(int /*number*/, WindowRecord& record) {
    SDL_DestroyWindow(static_cast<SDL_Window*>(record.handle));
    record.handle = nullptr;
}

void TranslateWindowEvent(const SDL_WindowEvent& event) {
    const int number = NumberOfWindowId(event.windowID);
    if (number < 0) {
        return;
    }
    switch (event.event) {
        case SDL_WINDOWEVENT_CLOSE:
            // The window stays; the program decides what closing means.
            QueueWindowEvent(EventWindowClosed, number);
            break;
        case SDL_WINDOWEVENT_MOVED:
            QueueWindowEvent(EventWindowMoved, number);
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            ReportWindowSized(number, WindowSizeChange::kMinimised);
            break;
        case SDL_WINDOWEVENT_MAXIMIZED:
            ReportWindowSized(number, WindowSizeChange::kMaximised);
            break;
        case SDL_WINDOWEVENT_RESTORED:
            ReportWindowSized(number, WindowSizeChange::kRestored);
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            ReportWindowSized(number, WindowSizeChange::kOther);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            QueueWindowEvent(EventWindowActivated, number);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            QueueWindowEvent(EventWindowDeactivated, number);
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            QueueWindowEvent(EventWindowEraseBackground, number);
            if (ScreenParentWindow() == NativeWindowHandle(number)) {
                RepaintScreen();
            }
            break;
        default:
            break;
    }
}

void TakeWindowEvents() {
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT) > 0) {
        TranslateWindowEvent(event.window);
    }
}
