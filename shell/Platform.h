// What the application core needs from the window system. Each platform's
// file set (shell/headless, shell/sdl, the tests' fake) defines these; the
// core never includes a platform header.
#pragma once

#include "render/OffscreenBitmap.h"

// The periodic tick: OnTimer every `milliseconds` until StopTimer.
void StartTimer(int id, int milliseconds);
void StopTimer(int id);
// Ends the event loop once the current handler returns; the program exits
// with exitCode.
void PostQuit(int exitCode);
void ShowMainWindow();
void GetClientSize(int& width, int& height);
void FillClientBlack(int width, int height);
// Copies width x height pixels from the top-left of source to the top-left
// of the client area; what lies outside source is left as it is.
void CopyToWindow(const MemoryDC& source, int width, int height);
