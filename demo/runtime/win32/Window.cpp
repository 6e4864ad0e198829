// The run-time's windows on Win32: one class per window number, the style
// from MakeWindow's flags, and window messages turned into window events.
#include <cstdio>
#include <new>

#include "demo/runtime/Events.h"
#include "demo/runtime/Platform.h"
#include "demo/runtime/WindowTable.h"
#include "demo/runtime/win32/Win32Platform.h"

namespace {

// Holds the window number + 1, so that 0 (no property) means none.
constexpr const char* kNumberProperty = "RuntimeWindowNumber";
// Tab and Shift+Tab move the focus between a window's controls.
constexpr WORD kCommandNextControl = 0xFA01;
constexpr WORD kCommandPreviousControl = 0xFA02;
// The run-time's own flag bits, which are no window styles.
constexpr unsigned kRuntimeBits = WindowCentreOnScreen | WindowCentreOnParent | WindowToolWindow |
                                  WindowNoGadgetList | WindowHidden;

struct Win32Window {
    ACCEL accelerators[2] = {};
    HACCEL acceleratorTable = nullptr;
    // The control that had the focus when the window was last deactivated.
    HWND savedFocus = nullptr;
    // An own background for erasing; the demo's window has none.
    HBRUSH background = nullptr;
};

void ClassName(int number, char (&name)[32]) {
    std::snprintf(name, sizeof name, "WindowClass_%d", number);
}

int NumberOf(HWND window) {
    return static_cast<int>(reinterpret_cast<INT_PTR>(GetPropA(window, kNumberProperty))) - 1;
}

Win32Window* PlatformOf(int number) {
    WindowRecord* record = FindWindowRecord(number);
    return record != nullptr ? static_cast<Win32Window*>(record->platform) : nullptr;
}

WindowSizeChange SizeChangeOf(WPARAM kind) {
    switch (kind) {
        case SIZE_RESTORED:
            return WindowSizeChange::kRestored;
        case SIZE_MINIMIZED:
            return WindowSizeChange::kMinimised;
        case SIZE_MAXIMIZED:
            return WindowSizeChange::kMaximised;
        default:
            return WindowSizeChange::kOther;
    }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const int number = NumberOf(window);
    Win32Window* own = number >= 0 ? PlatformOf(number) : nullptr;
    if (own == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    switch (message) {
        case WM_CLOSE:
            // The window stays; the program decides what closing means.
            QueueWindowEvent(EventWindowClosed, number);
            return 0;
        case WM_MOVE:
            QueueWindowEvent(EventWindowMoved, number);
            break;
        case WM_SIZE:
            ReportWindowSized(number, SizeChangeOf(wParam));
            break;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                QueueWindowEvent(EventWindowDeactivated, number);
                own->savedFocus = GetFocus();
                break;
            }
            QueueWindowEvent(EventWindowActivated, number);
            if (own->savedFocus != nullptr && IsWindow(own->savedFocus) &&
                IsChild(window, own->savedFocus)) {
                SetFocus(own->savedFocus);
                return 0;
            }
            break;
        case WM_ERASEBKGND:
            QueueWindowEvent(EventWindowEraseBackground, number);
            if (own->background != nullptr) {
                RECT area;
                GetClientRect(window, &area);
                FillRect(reinterpret_cast<HDC>(wParam), &area, own->background);
                return 1;
            }
            break;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The window style, its extended style and how to show it, from the flags.
struct Style {
    DWORD style = 0;
    DWORD extended = 0;
    bool hidden = false;
    bool centre = false;
    int show = SW_SHOWNORMAL;
};

Style StyleOf(unsigned flags) {
    Style result;
    flags &= ~WindowNoGadgetList;
    // Nothing but the run-time's placing bits: a plain titled window.
    if ((flags & ~(WindowCentreOnScreen | WindowCentreOnParent | WindowHidden)) == 0) {
        flags |= WindowCaption;
    }
    if ((flags & WindowToolWindow) != 0) {
        flags |= WindowCaption;
        result.extended |= WS_EX_TOOLWINDOW;
    }
    result.hidden = (flags & WindowHidden) != 0;
    result.centre = (flags & (WindowCentreOnScreen | WindowCentreOnParent)) != 0;
    if ((flags & WindowMinimised) != 0) {
        result.show = SW_SHOWMINIMIZED;
    } else if ((flags & WindowMaximised) != 0) {
        result.show = SW_SHOWMAXIMIZED;
    }
    result.style = flags & ~kRuntimeBits & ~(WindowMinimised | WindowMaximised);
    return result;
}

void Centre(HWND window, HWND parent, bool onParent) {
    RECT area;
    if (onParent && parent != nullptr) {
        GetWindowRect(parent, &area);
    } else {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    }
    RECT own;
    GetWindowRect(window, &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    SetWindowPos(window, nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

HACCEL WindowAccelerators(HWND window) {
    if (window == nullptr) {
        return nullptr;
    }
    const int number = NumberOf(window);
    const Win32Window* own = number >= 0 ? PlatformOf(number) : nullptr;
    return own != nullptr ? own->acceleratorTable : nullptr;
}

bool CreatePlatformWindow(WindowRecord& record, const WindowRequest& request) {
    const HINSTANCE instance = ModuleInstance();
    char className[32];
    ClassName(request.number, className);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    // Icon resource 1 of the program, where it has one.
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // the arrow
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    // A class left registered by an earlier window of this number serves.
    RegisterClassExA(&windowClass);

    const Style style = StyleOf(request.flags);
    // The outer size that gives exactly the inner size asked for.
    RECT outer{0, 0, request.innerWidth, request.innerHeight};
    AdjustWindowRectEx(&outer, style.style, FALSE, style.extended);
    int x = request.x;
    int y = request.y;
    if (x == WindowAnyPosition || (y == WindowAnyPosition && !style.centre)) {
        x = y = CW_USEDEFAULT;
    }
    auto* own = new (std::nothrow) Win32Window;
    const HWND parent = static_cast<HWND>(request.parent);
    const HWND window =
        own == nullptr ? nullptr
                       : CreateWindowExA(style.extended, className, request.title, style.style, x,
                                         y, outer.right - outer.left, outer.bottom - outer.top,
                                         parent, nullptr, instance, nullptr);
    if (window == nullptr) {
        delete own;
        UnregisterClassA(className, instance);
        return false;
    }
    record.handle = window;
    record.platform = own;
    if (style.centre) {
        Centre(window, parent, (request.flags & WindowCentreOnParent) != 0);
    }
    if (!style.hidden) {
        ShowWindow(window, style.show);
    }
    own->accelerators[0] = {FVIRTKEY, VK_TAB, kCommandNextControl};
    own->accelerators[1] = {FVIRTKEY | FSHIFT, VK_TAB, kCommandPreviousControl};
    own->acceleratorTable = CreateAcceleratorTableA(own->accelerators, 2);
    SetPropA(window, kNumberProperty, reinterpret_cast<HANDLE>(INT_PTR{request.number} + 1));
    return true;
}

void DestroyPlatformWindow(int number, WindowRecord& record) {
    const HWND window = static_cast<HWND>(record.handle);
    auto* own = static_cast<Win32Window*>(record.platform);
    if (const HWND owner = GetWindow(window, GW_OWNER); owner != nullptr) {
        SetActiveWindow(owner);
    }
    RemovePropA(window, kNumberProperty);
    DestroyWindow(window);
    char className[32];
    ClassName(number, className);
    UnregisterClassA(className, ModuleInstance());
    if (own != nullptr) {
        if (own->acceleratorTable != nullptr) {
            DestroyAcceleratorTable(own->acceleratorTable);
        }
        if (own->background != nullptr) {
            DeleteObject(own->background);
        }
        delete own;
    }
    record.handle = nullptr;
    record.platform = nullptr;
}
