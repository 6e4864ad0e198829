// velmora's window on Win32: what WinMain needs besides the services of
// shell/Platform.h, which Win32Window.cpp defines over the same window.
#pragma once

#include <windows.h>

extern HINSTANCE appInstance;
extern HWND mainWindow;

// Start-up: registers the window class (the title as its name, icon resource
// 100, the arrow cursor, the white brush), creates the window 300 x 200
// centred on the screen (its WM_CREATE starts the timer), then runs the
// core's start-up, which shows it with showCommand. 1 on success; 0, with
// the reason shown, when the class or the window cannot be made.
int InitApp(HINSTANCE instance, HINSTANCE previousInstance, int showCommand);

// Waits for each message with GetMessageA and dispatches it, until WM_QUIT;
// returns the quit message's code, or 1 when waiting itself fails.
int RunMessageLoop();

// After the loop: unregisters the window class. It fails, silently, while
// the window still exists, which it does until the process ends.
void EndApp();

LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
