#include "demo/runtime/Events.h"
#include "demo/runtime/ObjectTable.h"
#include "demo/runtime/sdl/SdlPlatform.h"

namespace {

// Bits of MakeWindow's flags that the window honours.
constexpr unsigned kCentreOnScreen = 1;
constexpr unsigned kCentreOnParent = 2;
constexpr unsigned kCreateHidden = 0x10000000;
// Asks the system to choose a position.
constexpr int kAnyPosition = -65535;

struct WindowRecord {
    SDL_Window* handle = nullptr;
    // Last seen minimised or maximised: the next restore says so.
    bool minimisedOrMaximised = false;
    int focus = 0;
};

void ReleaseWindow(int number);

ObjectTable<WindowRecord> windowTable(16, ReleaseWindow);

void ReleaseWindow(int number) {
    WindowRecord* record = windowTable.Find(number);
    if (record == nullptr) {
        return;
    }
    // The screen draws into this window; it cannot outlive it.
    if (ScreenWindow() == record->handle) {
        FreeWindowScreen();
    }
    SDL_DestroyWindow(record->handle);
    RemoveWindowEvents(number);
    windowTable.Release(number);
}

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

void StartWindowSupport() {
    windowTable.ReleaseAll();
}

void StopWindowSupport() {
    windowTable.ReleaseAll();
}

int WindowNumberOf(WindowHandle handle) {
    return handle == nullptr ? -1 : windowTable.FindNumber([handle](const WindowRecord& r) {
        return r.handle == handle;
    });
}

WindowHandle MakeWindow(int number, int x, int y, int innerWidth, int innerHeight,
                        const char* title, unsigned flags, WindowHandle /*parent*/) {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0 || innerWidth <= 0 || innerHeight <= 0) {
        return nullptr;
    }
    WindowRecord* record = windowTable.Take(number);
    if (record == nullptr) {
        return nullptr;
    }
    const bool centre = (flags & (kCentreOnScreen | kCentreOnParent)) != 0;
    const bool systemPlaces = x == kAnyPosition || (y == kAnyPosition && !centre);
    int posX = x;
    int posY = y;
    if (centre) {
        posX = posY = SDL_WINDOWPOS_CENTERED;
    } else if (systemPlaces) {
        posX = posY = SDL_WINDOWPOS_UNDEFINED;
    }
    // Fixed size: no resizable flag. Shown after placing, so that it does
    // not jump.
    SDL_Window* window = SDL_CreateWindow(title != nullptr ? title : "", posX, posY, innerWidth,
                                          innerHeight, SDL_WINDOW_HIDDEN);
    if (window == nullptr) {
        windowTable.Release(number);
        return nullptr;
    }
    record->handle = window;
    record->minimisedOrMaximised = false;
    record->focus = -1;
    if ((flags & kCreateHidden) == 0) {
        SDL_ShowWindow(window);
        if (!centre && !systemPlaces) {
            PlaceOuterCorner(window, x, y);
        }
    }
    return window;
}

WindowHandle NativeWindowHandle(int number) {
    const WindowRecord* record = windowTable.Find(number);
    return record != nullptr ? record->handle : nullptr;
}

void TranslateWindowEvent(const SDL_WindowEvent& event) {
    const int number = NumberOfWindowId(event.windowID);
    if (number < 0) {
        return;
    }
    WindowRecord& record = *windowTable.Find(number);
    switch (event.event) {
        case SDL_WINDOWEVENT_CLOSE:
            // The window stays; the program decides what closing means.
            QueueWindowEvent(EventWindowClosed, number);
            break;
        case SDL_WINDOWEVENT_MOVED:
            QueueWindowEvent(EventWindowMoved, number);
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            record.minimisedOrMaximised = true;
            QueueWindowEvent(EventWindowMinimised, number);
            break;
        case SDL_WINDOWEVENT_MAXIMIZED:
            record.minimisedOrMaximised = true;
            QueueWindowEvent(EventWindowMaximised, number);
            QueueWindowEvent(EventWindowSized, number);
            break;
        case SDL_WINDOWEVENT_RESTORED:
            if (record.minimisedOrMaximised) {
                QueueWindowEvent(EventWindowRestored, number);
            }
            record.minimisedOrMaximised = false;
            QueueWindowEvent(EventWindowSized, number);
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            QueueWindowEvent(EventWindowSized, number);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            QueueWindowEvent(EventWindowActivated, number);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            QueueWindowEvent(EventWindowDeactivated, number);
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            QueueWindowEvent(EventWindowEraseBackground, number);
            if (ScreenWindow() == record.handle) {
                RepaintScreen();
            }
            break;
        default:
            break;
    }
}
