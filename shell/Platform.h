// What the application core needs from the window system: the seam between
// shell/App and a platform. A platform is one file set (shell/sdl,
// shell/win32, shell/web, shell/headless, the tests' fake), chosen by what an
// executable links; each set defines every function declared here, and the
// core never includes a platform header.
//
// The contract every platform keeps: these are called only on the thread that
// runs the event loop, and the core's handlers (shell/App.h) are called back
// on that thread alone. A platform without a clock of its own (the capture
// tool, the tests) runs the ticks when its caller asks instead of by the time.
#pragma once

#include "render/OffscreenBitmap.h"

// The periodic tick: OnTimer every `milliseconds` until StopTimer. At most
// one tick waits at a time: a loop that falls behind drops ticks rather than
// running them in a burst. The core starts its one timer once, at OnCreate.
void StartTimer(int id, int milliseconds);
// No OnTimer follows once it has returned.
void StopTimer(int id);
// Ends the event loop once the current handler returns; the program exits
// with exitCode (a page, which does not end, only shows it has stopped).
void PostQuit(int exitCode);
// Makes the window visible; the core calls it once, after the drawing context
// exists.
void ShowMainWindow();
// Whether anyone can see the client area now, by what the window system
// says: false while the window is minimised, hidden, or (where the system
// tells so) off every screen. A platform that cannot tell says true.
bool MainWindowCanBeSeen();
// The client area's size now; 0 x 0 when there is no window.
void GetClientSize(int& width, int& height);
// Fills width x height from the top-left of the client area with black.
void FillClientBlack(int width, int height);
// Copies width x height pixels from the top-left of source to the top-left
// of the client area; what lies outside source is left as it is.
void CopyToWindow(const MemoryDC& source, int width, int height);
