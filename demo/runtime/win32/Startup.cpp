// The Win32 steps of the start-up and shutdown sequences, and the message
// pump behind PollEvent and WaitEvent.
#include <windows.h>

#include "demo/runtime/Events.h"
#include "demo/runtime/Platform.h"
#include "demo/runtime/win32/Win32Platform.h"

namespace {

constexpr const char* kPostEventClass = "PostEventClass";

HINSTANCE instance = nullptr;
// The 2D support library; its blending entry is looked up, as the run-time
// offers it, though nothing the demo draws needs it.
HMODULE msimg32 = nullptr;
FARPROC alphaBlend = nullptr;
// The system timer's resolution while the run-time lives: 1 ms, so that the
// pacer's sleeps and the event waits end when asked rather than on the next
// tick of a clock that steps every 15.6 ms unless a program asks for finer.
constexpr UINT kTimerPeriodMs = 1;
bool timerPeriodGranted = false;
// Events posted from other threads arrive as this message at this window.
HWND postWindow = nullptr;
UINT postMessage = 0;

LRESULT CALLBACK PostEventProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (postMessage != 0 && message == postMessage) {
        QueueEvent(static_cast<int>(wParam), lParam, 0, 0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

TimerPeriodCalls timerPeriodCalls;

HINSTANCE ModuleInstance() {
    return instance;
}

void StartPlatformProcess() {
    instance = GetModuleHandleA(nullptr);
    if (!timerPeriodGranted) {
        timerPeriodGranted = timerPeriodCalls.request(kTimerPeriodMs) == TIMERR_NOERROR;
    }
}

void StartPlatformDrawing() {
    if (msimg32 == nullptr) {
        msimg32 = LoadLibraryA("msimg32.dll");
        alphaBlend = msimg32 != nullptr ? GetProcAddress(msimg32, "AlphaBlend") : nullptr;
    }
}

void StartPlatformEvents() {
    if (postWindow != nullptr) {
        return;
    }
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = PostEventProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kPostEventClass;
    RegisterClassA(&windowClass);
    postWindow = CreateWindowExA(0, kPostEventClass, "", WS_CAPTION, 0, 0, 1, 1, nullptr, nullptr,
                                 instance, nullptr);
    postMessage = RegisterWindowMessageA("PostEventMessage");
}

void StopPlatformEvents() {
    if (postWindow != nullptr) {
        DestroyWindow(postWindow);
        postWindow = nullptr;
    }
    UnregisterClassA(kPostEventClass, instance);
}

void StopPlatformDrawing() {
    if (msimg32 != nullptr) {
        FreeLibrary(msimg32);
        msimg32 = nullptr;
        alphaBlend = nullptr;
    }
}

void StopPlatformProcess() {
    UnloadScreenSystem();
    // Only a granted request is released: each release must match one.
    if (timerPeriodGranted) {
        timerPeriodCalls.release(kTimerPeriodMs);
        timerPeriodGranted = false;
    }
}

int TakePlatformMessage(int timeoutMs) {
    MSG message;
    bool got = PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != 0;
    if (!got && timeoutMs > 0) {
        // Sleeps in the system until input arrives or the time is up.
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(timeoutMs), QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
        got = PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != 0;
    } else if (!got && timeoutMs < 0) {
        // WM_QUIT makes GetMessage return 0, but it is a message like any other.
        got = GetMessageA(&message, nullptr, 0, 0) != -1;
    }
    if (!got) {
        return 0;
    }
    const HWND active = GetActiveWindow();
    const HACCEL accelerators = WindowAccelerators(active);
    if (accelerators == nullptr || TranslateAcceleratorA(active, accelerators, &message) == 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.message);
}
