// What the Win32 platform's files share beyond the platform contract.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <mmsystem.h>

// The program's module instance, obtained at start-up.
HINSTANCE ModuleInstance();

// The accelerator table of the window with this handle, if it is one of the
// run-time's windows and has one.
HACCEL WindowAccelerators(HWND window);

// Unloads Direct3D 9 and destroys the screen system's hidden window.
void UnloadScreenSystem();

// The two calls that request and release the system timer's resolution while
// the run-time lives: winmm's, or a test's recorder put here before start-up.
struct TimerPeriodCalls {
    MMRESULT(WINAPI* request)(UINT milliseconds) = timeBeginPeriod;
    MMRESULT(WINAPI* release)(UINT milliseconds) = timeEndPeriod;
};
extern TimerPeriodCalls timerPeriodCalls;
