// velmora on Win32. The loop waits for each message with GetMessageA rather
// than polling the queue: the same messages arrive in the same order, with
// one tick per WM_TIMER, but between them velmora leaves the processor alone.
#include <windows.h>

#include "shell/win32/TimerPeriod.h"
#include "shell/win32/Win32Window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR, int showCommand) {
    // Before the window, whose WM_CREATE starts the 20 ms timer.
    const TimerPeriod fineTimers;
    if (InitApp(instance, previousInstance, showCommand) == 0) {
        return 1;
    }
    const int exitCode = RunMessageLoop();
    EndApp();
    return exitCode;
}
