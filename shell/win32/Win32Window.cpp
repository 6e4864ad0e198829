#include "shell/win32/Win32Window.h"

#include <cstdio>

#include "render/DrawGL.h"
#include "render/Message.h"
#include "render/wgl/DibSurface.h"
#include "shell/App.h"
#include "shell/Platform.h"

HINSTANCE appInstance = nullptr;
HWND mainWindow = nullptr;

namespace {

constexpr UINT kClassStyle = CS_VREDRAW | CS_HREDRAW | CS_BYTEALIGNCLIENT;
constexpr WORD kIconResource = 100;

int showCommand = SW_SHOWNORMAL;
// The device context BeginPaint gave, while WM_PAINT runs. The tick's copy
// takes the window's own for that call alone: a paint can run inside a tick
// (the loop of an error box the tick shows), and a shared one would be
// released under the tick.
HDC paintDC = nullptr;

// Says on standard error and in a box why there is no window. Writing to
// standard error may itself set the last error: the failed call's code is
// put back for the box.
void ReportStartFailure(const char* call) {
    const DWORD error = GetLastError();
    std::fprintf(stderr, "velmora: cannot open the window: %s failed (error %lu)\n", call, error);
    SetLastError(error);
    ShowLastError(call);
}

}  // namespace

int InitApp(HINSTANCE instance, HINSTANCE previousInstance, int show) {
    appInstance = instance;
    showCommand = show;
    if (previousInstance == nullptr) {
        WNDCLASSA windowClass{};
        windowClass.style = kClassStyle;
        windowClass.lpfnWndProc = WndProc;
        windowClass.cbClsExtra = 0;
        windowClass.cbWndExtra = 0;
        windowClass.hInstance = appInstance;
        windowClass.hIcon = LoadIconA(appInstance, MAKEINTRESOURCEA(kIconResource));
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszMenuName = nullptr;
        windowClass.lpszClassName = kWindowTitle;
        if (RegisterClassA(&windowClass) == 0) {
            ReportStartFailure("RegisterClassA");
            return 0;
        }
    }
    int x = 0;
    int y = 0;
    CenteredWindowOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), x, y);
    // WM_CREATE, inside this call, starts the timer; no tick runs before the
    // message loop does.
    HWND window =
        CreateWindowExA(0, kWindowTitle, kWindowTitle, WS_OVERLAPPEDWINDOW, x, y, kWindowWidth,
                        kWindowHeight, nullptr, nullptr, appInstance, nullptr);
    if (window == nullptr) {
        ReportStartFailure("CreateWindowExA");
        return 0;
    }
    mainWindow = window;
    return InitApp();
}

int RunMessageLoop() {
    MSG message{};
    BOOL got = 0;
    while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return got == 0 ? static_cast<int>(message.wParam) : 1;
}

void EndApp() {
    UnregisterClassA(kWindowTitle, appInstance);
}

LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            // CreateWindowExA has not returned yet: the timer needs the
            // window now.
            mainWindow = window;
            OnCreate();
            break;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        case WM_SIZE:
            OnSize(LOWORD(lParam), HIWORD(lParam));
            break;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            paintDC = BeginPaint(window, &paint);
            OnPaint();
            EndPaint(window, &paint);
            paintDC = nullptr;
            break;
        }
        case WM_CLOSE:
            // The window is not destroyed: it goes away with the process.
            OnClose();
            return 0;
        case WM_CHAR:
            OnChar(static_cast<char>(wParam & 0xFF));
            break;
        case WM_TIMER:
            OnTimer();
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void StartTimer(int id, int milliseconds) {
    if (SetTimer(mainWindow, static_cast<UINT_PTR>(id), static_cast<UINT>(milliseconds), nullptr) ==
        0) {
        // Without its timer the window would never show a frame: a program
        // that cannot show anything must not run on invisibly.
        ShowLastError("SetTimer");
        PostQuit(1);
    }
}

void StopTimer(int id) {
    KillTimer(mainWindow, static_cast<UINT_PTR>(id));
}

void PostQuit(int exitCode) {
    PostQuitMessage(exitCode);
}

void ShowMainWindow() {
    ShowWindow(mainWindow, showCommand);
}

void GetClientSize(int& width, int& height) {
    RECT client{};
    GetClientRect(mainWindow, &client);
    width = client.right - client.left;
    height = client.bottom - client.top;
}

void FillClientBlack(int width, int height) {
    if (paintDC != nullptr) {
        PatBlt(paintDC, 0, 0, width, height, BLACKNESS);
    }
}

void CopyToWindow(const MemoryDC& source, int width, int height) {
    if (source.surface == nullptr) {
        return;
    }
    HDC windowDC = GetDC(mainWindow);
    if (windowDC != nullptr) {
        BitBlt(windowDC, 0, 0, width, height, source.surface->memoryDC, 0, 0, SRCCOPY);
        ReleaseDC(mainWindow, windowDC);
    }
}

void ShowMessage(const std::string& text, const std::string& caption, MessageOwner owner) {
    MessageBoxA(owner == MessageOwner::kFocusWindow ? GetFocus() : nullptr, text.c_str(),
                caption.c_str(), MB_OK);
}

bool MainWindowCanBeSeen() {
    return mainWindow != nullptr && IsWindowVisible(mainWindow) != 0 && IsIconic(mainWindow) == 0;
}
