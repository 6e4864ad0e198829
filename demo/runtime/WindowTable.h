// The numbered windows. The table and the meaning of window events are the
// same on every platform; only the native window behind a record is not.
#pragma once

#include "demo/runtime/runtime.h"

struct WindowRecord {
    // The native window; empty means the slot is free.
    WindowHandle handle = nullptr;
    // Whatever else the platform keeps per window (owned by the platform,
    // released by DestroyPlatformWindow).
    void* platform = nullptr;
    // Last seen minimised or maximised: the next restore says so.
    bool minimisedOrMaximised = false;
    // The focus to give back on activation; -1 until a deactivation saved one.
    int focus = -1;
};

// The live record under number, or null.
WindowRecord* FindWindowRecord(int number);
// The number of the live window with this handle, or -1.
int WindowNumberOf(WindowHandle handle);

// How a window's size changed, as the system reports it.
enum class WindowSizeChange { kOther, kRestored, kMinimised, kMaximised };
// Queues the size events for that change: a restore after a minimise or a
// maximise says so first; a minimise reports no new size.
void ReportWindowSized(int number, WindowSizeChange change);

// The window side of the start-up and shutdown sequences.
void StartWindowSupport();
void StopWindowSupport();
