// The windowed screen on Win32: a Direct3D 9 device, loaded by name, that
// presents into a STATIC child window of the program's window. Drawing
// reaches the back buffer through its GDI device context (ScreenDrawing.cpp).
#include <d3d9.h>

#include "demo/runtime/DrawTarget.h"
#include "demo/runtime/Platform.h"
#include "demo/runtime/win32/ResetTries.h"
#include "demo/runtime/win32/Win32Platform.h"
#include "demo/runtime/win32/Win32Screen.h"

namespace {

constexpr const char* kScreenSystemClass = "MultimediaBase Class";
constexpr UINT kSdkVersion = 32;
// A lost device is waited for this long, a millisecond at a time, per
// presentation. Measured on the tick count: a Sleep(1) may last a whole
// tick of the system clock, 15.6 ms, so counting sleeps would wait half a
// second.
constexpr DWORD kLostDeviceWaitMs = 32;
// D3DCREATE_FPU_PRESERVE: the process's floating-point control word is left
// as it is, which the corner arithmetic depends on.
constexpr DWORD kHardwareVertices = D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_FPU_PRESERVE;
constexpr DWORD kSoftwareVertices = D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_FPU_PRESERVE;

using Direct3DCreate9Function = IDirect3D9*(WINAPI*)(UINT);

struct ScreenSystem {
    HWND window = nullptr;
    HMODULE library = nullptr;
    IDirect3D9* direct3d = nullptr;
};

struct Screen {
    bool open = false;
    // False once the device is gone for good (its reset failed, the driver
    // broke): presenting then shows nothing. A lost device is not: the
    // system takes it away while the desktop is locked, a secure desktop is
    // up or the display mode changes, and gives it back.
    bool usable = false;
    HWND parent = nullptr;
    HWND child = nullptr;
    WNDPROC childProc = nullptr;
    ScreenPlacement placement;
    IDirect3DDevice9* device = nullptr;
    IDirect3DSurface9* backBuffer = nullptr;
    D3DPRESENT_PARAMETERS parameters{};
    int refreshRate = 0;
    // Failed resets are tried again at the pace of the presentations.
    ResetTries resetTries;
};

ScreenSystem screenSystem;
Screen screen;

template <typename Interface>
void Release(Interface*& object) {
    if (object != nullptr) {
        object->Release();
        object = nullptr;
    }
}

// The child's size: its own, or with automatic stretch what the parent's
// inner area leaves after the offsets.
void StretchChild() {
    if (!screen.placement.autoStretch || screen.child == nullptr) {
        return;
    }
    RECT inner;
    GetClientRect(screen.parent, &inner);
    MoveWindow(screen.child, screen.placement.x, screen.placement.y,
               inner.right - screen.placement.x - screen.placement.rightOffset,
               inner.bottom - screen.placement.y - screen.placement.bottomOffset, TRUE);
}

// Draws the sprites' way: the first texture argument, point filtering, no
// multisampling. Nothing the demo does uses them, but a reset forgets them.
void SetSpriteDefaults() {
    screen.device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    screen.device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    screen.device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    screen.device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    screen.device->SetRenderState(D3DRS_MULTISAMPLEANTIALIAS, FALSE);
}

// A device that asks to be reset, reset with the parameters it was made
// with. Lost again between the test and the reset, or short of memory, it
// stays to be reset at the next presentation, and until then nothing but
// its test, its reset and its release may be called. Any other failure
// cannot pass by trying again.
ScreenShown ResetDevice() {
    EndScreenDrawing();
    Release(screen.backBuffer);
    const HRESULT reset = screenDeviceCalls.reset(screen.device, &screen.parameters);
    if (FAILED(reset) && screen.resetTries.TryAgain(reset, GetTickCount(), PlatformScreenSeen())) {
        return ScreenShown::kNotShown;
    }
    if (FAILED(reset) ||
        FAILED(screen.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &screen.backBuffer))) {
        screen.usable = false;
        return ScreenShown::kLost;
    }
    screen.resetTries.Passed();
    SetSpriteDefaults();
    // The reset emptied the back buffer; the next frame draws it whole.
    return ScreenShown::kNotShown;
}

// The back buffer keeps the last frame (copy swap effect): a repaint only
// presents it again, without waiting for the pacer.
ScreenShown PresentBackBuffer() {
    if (!screen.usable) {
        return ScreenShown::kLost;
    }
    if (screen.backBuffer != nullptr) {
        screen.device->SetRenderTarget(0, screen.backBuffer);
    }
    HRESULT level = screenDeviceCalls.test(screen.device);
    const DWORD waitStart = GetTickCount();
    while (level == D3DERR_DEVICELOST && GetTickCount() - waitStart < kLostDeviceWaitMs) {
        Sleep(1);
        level = screenDeviceCalls.test(screen.device);
    }
    if (level == D3DERR_DEVICELOST) {
        // Still away: this frame is not shown, the next presentation asks
        // again. A lock lasts as long as the user is away.
        return ScreenShown::kNotShown;
    }
    if (level == D3DERR_DRIVERINTERNALERROR) {
        screen.usable = false;
        return ScreenShown::kLost;
    }
    // A reset that failed left no back buffer: only a reset gives it back,
    // whatever the test says now.
    if (level == D3DERR_DEVICENOTRESET || screen.backBuffer == nullptr) {
        return ResetDevice();
    }
    const RECT source{0, 0, screen.placement.width, screen.placement.height};
    RECT destination;
    GetClientRect(screen.child, &destination);
    const HRESULT presented = screen.device->Present(&source, &destination, nullptr, nullptr);
    if (presented == D3DERR_DEVICELOST) {
        // Lost between the test and the presentation.
        return ScreenShown::kNotShown;
    }
    if (FAILED(presented)) {
        screen.usable = false;
        return ScreenShown::kLost;
    }
    return ScreenShown::kMayWaitForRetrace;
}

// The parent's own procedure, kept in a property of the parent when the
// screen first replaced it (once per parent window).
constexpr const char* kParentProcProperty = "ScreenParentProc";

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto own = reinterpret_cast<WNDPROC>(GetPropA(window, kParentProcProperty));
    if (message == WM_NCDESTROY) {
        // The window goes: give it back its procedure and drop the mark.
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
        RemovePropA(window, kParentProcProperty);
    }
    const LRESULT result = CallWindowProcA(own, window, message, wParam, lParam);
    if (message == WM_SIZE && screen.open && screen.parent == window) {
        StretchChild();
        PresentBackBuffer();
    }
    return result;
}

void WatchParentSize(HWND parent) {
    if (GetPropA(parent, kParentProcProperty) != nullptr) {
        return;
    }
    const LONG_PTR own = GetWindowLongPtrA(parent, GWLP_WNDPROC);
    SetPropA(parent, kParentProcProperty, reinterpret_cast<HANDLE>(own));
    SetWindowLongPtrA(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ParentProc));
}

LRESULT CALLBACK ChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            ValidateRect(window, nullptr);
            if (screen.open) {
                PresentBackBuffer();
            }
            return 0;
        case WM_ERASEBKGND:
            // The whole child is the screen: nothing to erase.
            return 1;
        default:
            return CallWindowProcA(screen.childProc, window, message, wParam, lParam);
    }
}

void ReleaseScreenResources() {
    EndScreenDrawing();
    Release(screen.backBuffer);
    Release(screen.device);
    if (screen.child != nullptr) {
        DestroyWindow(screen.child);
    }
    if (screen.parent != nullptr && IsWindow(screen.parent)) {
        InvalidateRect(screen.parent, nullptr, TRUE);
        UpdateWindow(screen.parent);
    }
    screen = Screen{};
}

bool CreateDevice(int flipMode) {
    D3DDISPLAYMODE desktop;
    if (FAILED(screenSystem.direct3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &desktop))) {
        return false;
    }
    screen.refreshRate = static_cast<int>(desktop.RefreshRate);
    D3DPRESENT_PARAMETERS& p = screen.parameters;
    p = D3DPRESENT_PARAMETERS{};
    p.BackBufferWidth = static_cast<UINT>(screen.placement.width);
    p.BackBufferHeight = static_cast<UINT>(screen.placement.height);
    p.BackBufferFormat = desktop.Format;
    p.BackBufferCount = 1;
    p.SwapEffect = D3DSWAPEFFECT_COPY;
    p.hDeviceWindow = screen.child;
    p.Windowed = TRUE;
    p.EnableAutoDepthStencil = FALSE;
    p.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
    p.PresentationInterval =
        flipMode != 0 ? D3DPRESENT_INTERVAL_ONE : D3DPRESENT_INTERVAL_IMMEDIATE;
    D3DCAPS9 caps;
    DWORD behaviour = kSoftwareVertices;
    if (SUCCEEDED(
            screenSystem.direct3d->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &caps)) &&
        (caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) != 0) {
        behaviour = kHardwareVertices;
    }
    if (FAILED(screenSystem.direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, screen.child,
                                                   behaviour, &p, &screen.device)) ||
        FAILED(screen.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &screen.backBuffer))) {
        return false;
    }
    screen.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 0.0f, 0);
    SetSpriteDefaults();
    return true;
}

}  // namespace

// What the core's ScreenTarget gives: GDI on the back buffer's device
// context.
DrawTarget* PlatformScreenTarget() {
    if (!screen.open || screen.backBuffer == nullptr) {
        return nullptr;
    }
    return MakeScreenDrawing(screen.backBuffer, screen.placement.width, screen.placement.height);
}

int LoadScreenSystem() {
    if (screenSystem.direct3d != nullptr) {
        return 1;
    }
    const HINSTANCE instance = ModuleInstance();
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kScreenSystemClass;
    RegisterClassA(&windowClass);
    screenSystem.window = CreateWindowExA(0, kScreenSystemClass, "", WS_POPUP, 0, 0, 1, 1, nullptr,
                                          nullptr, instance, nullptr);
    screenSystem.library = LoadLibraryA("d3d9.dll");
    const auto create = screenSystem.library == nullptr
                            ? nullptr
                            : reinterpret_cast<Direct3DCreate9Function>(reinterpret_cast<void*>(
                                  GetProcAddress(screenSystem.library, "Direct3DCreate9")));
    screenSystem.direct3d = create != nullptr ? create(kSdkVersion) : nullptr;
    UINT modes = 0;
    if (screenSystem.direct3d != nullptr) {
        for (D3DFORMAT format : {D3DFMT_X1R5G5B5, D3DFMT_R5G6B5, D3DFMT_X8R8G8B8}) {
            modes += screenSystem.direct3d->GetAdapterModeCount(D3DADAPTER_DEFAULT, format);
        }
    }
    if (screenSystem.window == nullptr || modes == 0) {
        UnloadScreenSystem();
        return 0;
    }
    return 1;
}

void UnloadScreenSystem() {
    FreeWindowScreen();
    Release(screenSystem.direct3d);
    if (screenSystem.library != nullptr) {
        FreeLibrary(screenSystem.library);
    }
    if (screenSystem.window != nullptr) {
        DestroyWindow(screenSystem.window);
    }
    UnregisterClassA(kScreenSystemClass, ModuleInstance());
    screenSystem = ScreenSystem{};
}

bool OpenPlatformScreen(const ScreenPlacement& placement, PlatformScreen& traits) {
    const HWND parentWindow = static_cast<HWND>(placement.parent);
    if (!IsWindow(parentWindow) || screenSystem.direct3d == nullptr) {
        return false;
    }
    screen.parent = parentWindow;
    screen.placement = placement;
    screen.child =
        CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, screen.placement.x,
                        screen.placement.y, screen.placement.width, screen.placement.height,
                        parentWindow, nullptr, ModuleInstance(), nullptr);
    if (screen.child == nullptr) {
        ReleaseScreenResources();
        return false;
    }
    screen.childProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(screen.child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ChildProc)));
    StretchChild();
    if (!CreateDevice(placement.atRetrace ? 1 : 0)) {
        ReleaseScreenResources();
        return false;
    }
    WatchParentSize(parentWindow);
    traits.refreshHz = screen.refreshRate;
    traits.ownBackBuffer = true;
    screen.open = true;
    screen.usable = true;
    return true;
}

ScreenDeviceCalls screenDeviceCalls{
    [](IDirect3DDevice9* device) { return device->TestCooperativeLevel(); },
    [](IDirect3DDevice9* device, D3DPRESENT_PARAMETERS* parameters) {
        return device->Reset(parameters);
    },
};

// Where presenting returns at once instead of at the retrace, the core's
// pacer holds the loop to the refresh rate.
ScreenShown ShowPlatformScreen(const ScreenPlacement& /*placement*/, const PixelBuffer* /*back*/,
                               const std::vector<DamageRect>& /*changed*/) {
    return PresentBackBuffer();
}

// A minimised window's child shows nothing, and Direct3D would present into
// it all the same.
bool PlatformScreenSeen() {
    return !screen.open || (!IsIconic(screen.parent) && IsWindowVisible(screen.parent));
}

void ClosePlatformScreen() {
    if (screen.open || screen.child != nullptr || screen.device != nullptr) {
        ReleaseScreenResources();
    }
}
