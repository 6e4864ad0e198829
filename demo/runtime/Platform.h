// The seam between the portable run-time and a platform. A platform is one
// file set, demo/runtime/<platform>/, chosen by what an executable links;
// each set defines every function declared here, and nothing in the portable
// core knows which set it was linked with.
//
// Besides these, a platform defines the screen operations of runtime.h:
// LoadScreenSystem, MakeWindowScreen, ScreenTarget, PresentScreen and
// FreeWindowScreen. Everything else in runtime.h (the start-up and shutdown
// order, the window table, the event queue, PollEvent and WaitEvent, images
// and drawing) is portable and must not be written again by a platform.
#pragma once

#include <cstddef>
#include <cstdint>

#include "demo/runtime/runtime.h"

struct PixelBuffer;
struct WindowRecord;

// --- Start-up and shutdown -------------------------------------------------
// RuntimeStartup calls the Start steps, and RuntimeShutdown the Stop steps, at
// fixed places in its sequence (RuntimeCore.cpp lists them). Each may be run
// again after its Stop step, and a Stop step without its Start does nothing.

// First of all: what the process itself needs before anything else (its
// module handle, its connection to the system).
void StartPlatformProcess();
// Libraries the drawing routines may call into.
void StartPlatformDrawing();
// Whatever receives the system's messages and posted events for this thread.
void StartPlatformEvents();
void StopPlatformEvents();
void StopPlatformDrawing();
// Last of all, after every window, image and screen is gone: the screen
// system loaded by LoadScreenSystem is let go.
void StopPlatformProcess();

// --- Windows ---------------------------------------------------------------
// The portable window table owns the numbers and the records; the platform
// makes and destroys what lies behind them.

struct WindowRequest {
    int number = 0;
    int x = 0;
    int y = 0;
    int innerWidth = 0;
    int innerHeight = 0;
    const char* title = "";
    unsigned flags = 0;  // the Window* bits of runtime.h
    WindowHandle parent = nullptr;
};

// Makes the window asked for and fills record.handle (and, if the platform
// wants one, record.platform). False, with the record left empty, on failure.
// Called only with positive inner sizes and a record the table has emptied.
bool CreatePlatformWindow(WindowRecord& record, const WindowRequest& request);
// Destroys what CreatePlatformWindow made. The table then empties the record
// and forgets the window's queued events.
void DestroyPlatformWindow(int number, WindowRecord& record);

// --- Events ----------------------------------------------------------------
// Takes at most one system message for this thread and handles it (its
// window events are queued with QueueWindowEvent or ReportWindowSized), then
// returns its number; 0 when none came. timeoutMs 0 does not wait, a positive
// value waits up to that long for one, -1 waits for ever. Waiting must block,
// never spin.
int TakePlatformMessage(int timeoutMs);

// --- Screen ----------------------------------------------------------------
// The window the open screen draws into, or null when no screen is open. The
// window table frees the screen before it destroys that window.
WindowHandle ScreenParentWindow();

// --- Pixel memory and native block operations ----------------------------
// HeapPixels.cpp serves platforms that draw on images only with the
// run-time's pixel routines: plain memory, and no native block operations.

struct PixelMemoryRequest {
    int width = 0;
    int height = 0;
    int depth = 0;  // 24 or 32
    // Bottom row first in memory (images) or top row first (a screen).
    bool bottomUp = true;
    // Rows padded to 4 bytes, as RowStride gives them.
    std::size_t bytes = 0;
    // All zero, or left as they come for a caller that writes every byte.
    bool zeroed = true;
};

// Memory for the pixels of one buffer, or null. native gets the platform's
// bitmap around them (null when there is none).
std::uint8_t* AcquirePixelMemory(const PixelMemoryRequest& request, void*& native);
void ReleasePixelMemory(std::uint8_t* bits, void* native);

// Native state held while an image is drawn on (the image's bitmap selected
// into a device context, say), or null; given back when the drawing ends.
void* OpenImageOutput(PixelBuffer& image);
void CloseImageOutput(void* state);

// Paints every pixel of buffer in colour (24-bit buffers only; red in the
// low byte). False when the platform has no native fill: the core does it.
bool NativeFillPixels(PixelBuffer& buffer, Color color);
// Copies the width x height rectangle of from at (x, y) to (0, 0) of to,
// leaving alone what lies outside from. Both have the same depth. False when
// the platform has no native copy or it failed: the core does it.
bool NativeCopyRect(PixelBuffer& to, const PixelBuffer& from, int x, int y, int width, int height);
