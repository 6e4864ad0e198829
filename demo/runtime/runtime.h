// Wobblet's run-time library: numbered windows and images, one event queue,
// one double-buffered screen, and drawing outputs over images or the screen.
// Failure is a 0 result and no message, as every caller expects.
#pragma once

#include <cstddef>
#include <cstdint>

// The pixel buffer behind an image: what NativeImageHandle returns.
struct PixelBuffer;
using ImageHandle = PixelBuffer*;
// The platform's window (an SDL_Window on SDL; a record of its own headless).
using WindowHandle = void*;
// A drawing output: an image's pixel routines or the screen's.
struct DrawTarget;

// Colours are 32-bit with red in the low byte.
using Color = std::uint32_t;

// MakeWindow's flags. The style bits have the values of Win32's window styles
// (WS_CAPTION and so on); the others ask the run-time for something. Every
// platform honours what it can show.
inline constexpr unsigned WindowCentreOnScreen = 0x1;
inline constexpr unsigned WindowCentreOnParent = 0x2;
inline constexpr unsigned WindowToolWindow = 0x4;    // small caption, not in the task bar
inline constexpr unsigned WindowNoGadgetList = 0x8;  // cleared before the style is used
inline constexpr unsigned WindowMaximiseBox = 0x10000;
inline constexpr unsigned WindowMinimiseBox = 0x20000;
inline constexpr unsigned WindowSizingBorder = 0x40000;
inline constexpr unsigned WindowSystemMenu = 0x80000;  // the close box
inline constexpr unsigned WindowBorder = 0x800000;
inline constexpr unsigned WindowCaption = 0xC00000;  // title bar, border included
inline constexpr unsigned WindowMaximised = 0x1000000;
inline constexpr unsigned WindowChild = 0x40000000;
inline constexpr unsigned WindowHidden = 0x10000000;
inline constexpr unsigned WindowMinimised = 0x20000000;
// x (or y, when no centring is asked for) that lets the system place it.
inline constexpr int WindowAnyPosition = -65535;

// Codes PollEvent and WaitEvent return for a window's events; any other
// non-zero result is the number of a system message that was handled.
inline constexpr int EventWindowClosed = 13116;
inline constexpr int EventWindowMoved = 13117;
inline constexpr int EventWindowSized = 13118;
inline constexpr int EventWindowMinimised = 13107;
inline constexpr int EventWindowMaximised = 13108;
inline constexpr int EventWindowRestored = 13109;
inline constexpr int EventWindowActivated = 13104;
inline constexpr int EventWindowDeactivated = 13114;
inline constexpr int EventWindowEraseBackground = 13115;

inline constexpr int DrawModeCopy = 0;
inline constexpr int DrawModeXor = 2;

inline constexpr std::size_t kNoSizeLimit = 0x7FFFFFFF;

// Start-up and shutdown sequences.
void RuntimeStartup();
void RuntimeShutdown();

// Window and screen.
int LoadScreenSystem();
WindowHandle MakeWindow(int number, int x, int y, int innerWidth, int innerHeight,
                        const char* title, unsigned flags, WindowHandle parent = nullptr);
WindowHandle NativeWindowHandle(int number);
int PollEvent();
int WaitEvent(int timeoutMs);
int MakeWindowScreen(WindowHandle parent, int x, int y, int width, int height, int autoStretch,
                     int rightOffset, int bottomOffset, int flipMode = 1);
DrawTarget* ScreenTarget();
int PresentScreen();
void FreeWindowScreen();

// Images.
ImageHandle MakeImage(int number, int width, int height, int depth = 24, Color background = 0);
ImageHandle DecodeImageMemory(int number, const void* data, std::size_t size = kNoSizeLimit,
                              int flags = 0);
ImageHandle CopyImageRect(int source, int newNumber, int x, int y, int width, int height);
ImageHandle NativeImageHandle(int number);
void RegisterPngDecoder();

// Drawing.
DrawTarget* ImageTarget(int number);
int BeginDrawing(DrawTarget* output);
void EndDrawing();
void SetDrawMode(int mode);
void FillRect(int x, int y, int width, int height, Color color);
void DrawLine(int x1, int y1, int x2, int y2, Color color);
void BlitImage(ImageHandle image, int x, int y);
Color PackColor(int red, int green, int blue);
