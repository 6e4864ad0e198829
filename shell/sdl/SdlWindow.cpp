#include "shell/sdl/SdlWindow.h"

#include <cstdio>
#include <mutex>

#include "render/Message.h"
#include "shell/App.h"
#include "shell/Platform.h"
#include "shell/icon/Icon.h"
#include "shell/sdl/PendingTick.h"
#include "shell/sdl/Presenter.h"
#include "shell/sdl/TickSchedule.h"
#include "shell/sdl/WindowPlacement.h"

namespace {

SDL_Window* mainWindow = nullptr;
// Not destroyed at exit: the window goes away with the process, and the
// presenter with it.
Presenter* presenter = nullptr;
int screenWidth = 0;
int screenHeight = 0;

Uint32 tickEventType = 0;
SDL_TimerID tickTimer = 0;
int tickTimerId = 0;
PendingTick pendingTick;
// Touched by StartTimer before the timer exists, then only by the timer
// thread.
TickSchedule tickSchedule;

bool quitPosted = false;
int quitCode = 0;

// Posting wakes the waiting loop through the window. Once StopTimer has
// returned no post may follow, or it could reach a window that is already
// destroyed; SDL_RemoveTimer alone does not wait for a callback in flight.
std::mutex timerGate;
bool timerLive = false;

// Runs on SDL's timer thread: it may only post, never touch the core.
Uint32 TimerExpired(Uint32, void*) {
    std::lock_guard<std::mutex> gate(timerGate);
    if (!timerLive) {
        return 0;
    }
    if (pendingTick.Claim()) {
        SDL_Event event{};
        event.type = tickEventType;
        if (SDL_PushEvent(&event) != 1) {
            pendingTick.Release();  // the queue is full: try again next time
        }
    }
    return tickSchedule.Next(SDL_GetTicks64());
}

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
    tickEventType = SDL_RegisterEvents(1);
    if (tickEventType == static_cast<Uint32>(-1)) {
        error = SDL_GetError();
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
    presenter = choose(mainWindow, why).release();
    if (presenter == nullptr) {
        error = "the window cannot show a picture: " + why;
        return false;
    }
    return true;
}

const char* PresenterName() {
    return presenter != nullptr ? presenter->Name() : "none";
}

SDL_Window* MainWindow() {
    return mainWindow;
}

void DestroyMainWindow() {
    StopTimer(tickTimerId);
    delete presenter;
    presenter = nullptr;
    if (mainWindow != nullptr) {
        SDL_DestroyWindow(mainWindow);
        mainWindow = nullptr;
    }
}

int RunEventLoop() {
    int exitCode = 0;
    while (!QuitPosted(exitCode)) {
        SDL_Event event;
        if (SDL_WaitEvent(&event) == 0) {
            std::fprintf(stderr, "velmora: waiting for events failed: %s\n", SDL_GetError());
            return 1;
        }
        DispatchEvent(event);
    }
    return exitCode;
}

bool IsTickEvent(const SDL_Event& event) {
    return event.type == tickEventType;
}

bool QuitPosted(int& exitCode) {
    exitCode = quitCode;
    return quitPosted;
}

void DispatchEvent(const SDL_Event& event) {
    if (IsTickEvent(event)) {
        pendingTick.Release();
        if (tickTimer != 0) {  // a tick posted just before the timer stopped
            OnTimer();
        }
        return;
    }
    switch (event.type) {
        case SDL_TEXTINPUT:
            // UTF-8: a byte above 127 is part of a character outside the
            // key table.
            for (const char* byte = event.text.text; *byte != '\0'; ++byte) {
                if (static_cast<unsigned char>(*byte) <= 127) {
                    OnChar(*byte);
                }
            }
            break;
        case SDL_WINDOWEVENT:
            if (mainWindow == nullptr || event.window.windowID != SDL_GetWindowID(mainWindow)) {
                break;
            }
            if (fittingFrame) {
                FitOuterSize();
                if (event.window.event == SDL_WINDOWEVENT_EXPOSED) {
                    fittingFrame = false;
                }
            }
            switch (event.window.event) {
                case SDL_WINDOWEVENT_EXPOSED:
                    OnPaint();
                    break;
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    OnSize(event.window.data1, event.window.data2);
                    break;
                case SDL_WINDOWEVENT_CLOSE:
                    OnClose();
                    break;
                default:
                    break;
            }
            break;
        case SDL_QUIT:
            // SIGINT or SIGTERM (SDL's own handlers turn them into this).
            OnClose();
            break;
        default:
            break;
    }
}

void StartTimer(int id, int milliseconds) {
    // As with a window timer, starting it again replaces it.
    StopTimer(id);
    tickTimerId = id;
    tickSchedule.Start(SDL_GetTicks64(), static_cast<Uint32>(milliseconds));
    {
        std::lock_guard<std::mutex> gate(timerGate);
        timerLive = true;
    }
    tickTimer = SDL_AddTimer(static_cast<Uint32>(milliseconds), TimerExpired, nullptr);
    if (tickTimer == 0) {
        // Without its timer the window would never show a frame: a program
        // that cannot show anything must not run on invisibly.
        ShowMessage(SDL_GetError(), "SDL_AddTimer");
        PostQuit(1);
    }
}

void StopTimer(int) {
    {
        std::lock_guard<std::mutex> gate(timerGate);
        timerLive = false;
    }
    if (tickTimer != 0) {
        SDL_RemoveTimer(tickTimer);
        tickTimer = 0;
    }
}

void PostQuit(int exitCode) {
    quitPosted = true;
    quitCode = exitCode;
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

void ShowMessage(const std::string& text, const std::string& caption, MessageOwner) {
    // Modal over the window, as the program's message boxes are; with no
    // window (or when SDL cannot show a box) the message still gets out.
    // Before the window is shown (start-up) the box stands on its own: a
    // hidden parent would place it off the screen.
    SDL_Window* parent =
        mainWindow != nullptr && (SDL_GetWindowFlags(mainWindow) & SDL_WINDOW_SHOWN) != 0
            ? mainWindow
            : nullptr;
    if (mainWindow != nullptr && SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(),
                                                          text.c_str(), parent) == 0) {
        return;
    }
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}
