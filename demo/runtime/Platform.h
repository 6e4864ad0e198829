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

#include "demo/runtime/runtime.h"

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
