// Drawing outputs. Exactly one is current at a time: ImageTarget and
// ScreenTarget make one current at once, BeginDrawing starts drawing on it
// and EndDrawing frees it. Images and the screen are both plain pixel
// buffers, so one set of pixel routines serves both.
#pragma once

#include <cstdint>

#include "demo/runtime/PixelBuffer.h"
#include "demo/runtime/ScreenDamage.h"
#include "demo/runtime/runtime.h"

enum class OutputKind {
    kImage,   // an image's buffer
    kScreen,  // the screen's back buffer
};

struct DrawTarget {
    OutputKind kind = OutputKind::kImage;
    int width = 0;
    int height = 0;
    int depth = 0;
    // Copied from width and height by BeginDrawing; everything is clipped to it.
    int clipWidth = 0;
    int clipHeight = 0;
    // Added to every coordinate.
    int originX = 0;
    int originY = 0;
    Color color = 0;
    Color cachedColor = 0;
    Color background = 0;
    int mode = DrawModeCopy;
    // Null once the buffer has gone away: drawing then writes nothing.
    PixelBuffer* buffer = nullptr;
    // A screen's record of what changed since its last presentation, which
    // every drawing routine keeps up to date; null for images.
    ScreenDamage* damage = nullptr;
    // The current colour split into the buffer's byte order.
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 0;
    bool begun = false;
};

// Makes a new output over buffer current (ending any current one first) and
// returns it; null if buffer is null or memory is short.
DrawTarget* MakeOutput(OutputKind kind, PixelBuffer* buffer);
// The output drawing may write to now: current and begun, with a buffer.
DrawTarget* DrawingOutput();
// Makes color the output's current colour (only work when it changed).
void SetOutputColor(DrawTarget& output, Color color);
// Stops the current output from touching buffer, which is going away.
void DetachDrawingFrom(const PixelBuffer* buffer);
