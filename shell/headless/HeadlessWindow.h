// A window that exists only in memory: its client area is a picture that
// the core paints black and copies frames into, its timer and quit message
// are flags the driving loop reads. Messages go to standard error.
#pragma once

#include <cstdint>

// Sets the client size and blackens the whole new client area; false, with
// the old client area kept, when memory for the new one cannot be had.
bool HeadlessSetClientSize(int width, int height);
// The client area, top row first, 3 bytes a pixel in blue-green-red order.
const std::uint8_t* HeadlessClientPixels();
int HeadlessClientStride();
bool HeadlessTimerRunning();
// True once PostQuit was called, with its exit code.
bool HeadlessQuitPosted(int& exitCode);
