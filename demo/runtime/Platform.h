// The seam between the portable run-time and a platform. A platform is one
// file set, demo/runtime/<platform>/, chosen by what an executable links;
// each set defines every function declared here, and nothing in the portable
// core knows which set it was linked with.
//
// Besides these, a platform defines LoadScreenSystem of runtime.h.
// Everything else in runtime.h (the start-up and shutdown order, the window
// table, the event queue, PollEvent and WaitEvent, the screen, images and
// drawing) is portable and must not be written again by a platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "demo/runtime/runtime.h"

struct DamageRect;
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
// The portable core (WindowScreen.cpp) owns the screen: MakeWindowScreen's
// checks, where the screen lies, whether it is open and still usable, its
// back buffer in memory with the record of what changed, and the pace of the
// presentations. The platform only opens a way to show it, shows changed
// rectangles, and closes that again. One screen is open at a time.

// Where the screen lies and how it is to be shown, as MakeWindowScreen was
// asked: width and height are positive and parent is a window of the table.
struct ScreenPlacement {
    WindowHandle parent = nullptr;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    // Covers what the window's inner area leaves after the offsets,
    // stretched to it, whatever size the window takes.
    bool autoStretch = false;
    int rightOffset = 0;
    int bottomOffset = 0;
    // Flip mode 1: presentations wait for the display's retrace if they can.
    bool atRetrace = false;
};

// What OpenPlatformScreen tells the core about the way it opened.
struct PlatformScreen {
    // The display's refresh rate; 0 when unknown (counted as 60).
    int refreshHz = 0;
    // False where something outside the program sets the beat (a page's
    // refresh, a frame sink): the core then never sleeps after presenting.
    bool paced = true;
    // Set by a platform that keeps the back buffer itself and draws on it
    // with its own routines: the core then makes no back buffer, ScreenTarget
    // is what PlatformScreenTarget returns, and ShowPlatformScreen gets no
    // pixels and no rectangles.
    bool ownBackBuffer = false;
};

// How a ShowPlatformScreen call went. The system may take a way of showing
// away for a while (a locked desktop, a display mode change, a GPU reset, a
// minimised window, a moment without memory or file handles): that is
// kNotShown, and the core simply tries again with the next presentation.
// Only a way that cannot come back is kLost.
enum class ScreenShown {
    // Nothing can be shown, now or later: the screen stays open but unusable
    // and the program ends.
    kLost,
    // Nothing was shown this time; the next call may show again, and gets
    // the whole screen as changed. A platform may say so at once: the core
    // then waits about a display period, taking the system's messages,
    // before it tries again. One that waits for its device waits a bounded
    // time.
    kNotShown,
    // Handed to the display without waiting for it: the core's pacer keeps
    // the loop at the refresh rate.
    kAtOnce,
    // The call may have waited for the retrace: the core times it, and the
    // pacer follows the display when it did.
    kMayWaitForRetrace,
};

// Whether what the screen shows can be seen now. False only where the system
// says it cannot (its window minimised or hidden): the core then shows
// nothing and sleeps in TakePlatformMessage until it can be seen again, so
// the frames go on from where they were. A platform that learns of this only
// by its display going quiet (a compositor that stops asking for frames)
// says true and waits in ShowPlatformScreen instead.
bool PlatformScreenSeen();
// Opens the platform's way of showing a screen so placed; fills traits.
// False, with nothing left open, when the platform cannot show it (it may say
// why on standard error). Called only when no platform screen is open.
bool OpenPlatformScreen(const ScreenPlacement& placement, PlatformScreen& traits);
// Shows the screen: back is the core's back buffer (top row first, 4 bytes a
// pixel: blue, green, red, unused), and changed the rectangles of it that
// differ from what the last call showed; all of it on the first call after
// opening and after DamageWholeScreen. With an own target, back is null and
// changed empty: the platform shows its own back buffer whole.
ScreenShown ShowPlatformScreen(const ScreenPlacement& placement, const PixelBuffer* back,
                               const std::vector<DamageRect>& changed);
// Lets go of what OpenPlatformScreen made. The core has ended any drawing on
// its back buffer first; a platform with its own target ends drawing on that.
void ClosePlatformScreen();

// --- A back buffer the platform draws on itself ---------------------------
// Only a platform whose screen says ownBackBuffer is ever asked for these;
// the others define them doing nothing (MemoryScreen.cpp). A native output
// is a DrawTarget with native set and no buffer; the run-time's drawing
// routines hand their calls on to it. Coordinates come with the origin
// added; the colour has been set with SetTargetColor and mode is the
// output's. Every call but the last may assume the output is begun.

// A native output over the back buffer, made current with
// MakeNativeDrawTarget; null when it cannot be drawn on now.
DrawTarget* PlatformScreenTarget();
// A box whose corner a negative width or height has already moved, so that
// neither is negative.
void NativeFillRect(DrawTarget& output, int x, int y, int width, int height);
void NativeDrawLine(DrawTarget& output, int x1, int y1, int x2, int y2);
void NativeBlitImage(DrawTarget& output, const PixelBuffer& image, int x, int y);
// The colour or the mode changed: applied before the next drawing.
void ApplyNativeState(DrawTarget& output);
// Run once when the output is freed, also when it could not be made.
void ReleaseNativeOutput(DrawTarget& output);

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
