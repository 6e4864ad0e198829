// What the Win32 platform's files share beyond the platform contract.
#pragma once

#include <windows.h>

// The program's module instance, obtained at start-up.
HINSTANCE ModuleInstance();

// The accelerator table of the window with this handle, if it is one of the
// run-time's windows and has one.
HACCEL WindowAccelerators(HWND window);

// Unloads Direct3D 9 and destroys the screen system's hidden window.
void UnloadScreenSystem();
