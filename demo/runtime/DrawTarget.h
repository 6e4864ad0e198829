// Drawing targets (the drawing outputs). Exactly one is current at a time:
// ImageTarget and ScreenTarget make one current at once, BeginDrawing starts
// drawing on it and EndDrawing frees it. Images and the screen are both plain
// pixel buffers, so one set of pixel routines serves both; only a platform
// that keeps the screen's back buffer itself draws on it natively
// (Platform.h).
#pragma once

#include <cstdint>

#include "demo/runtime/PixelBuffer.h"
#include "demo/runtime/ScreenDamage.h"
#include "demo/runtime/runtime.h"

enum class DrawTargetKind {
    kImage,   // an image's buffer
    kScreen,  // the screen's back buffer
};

struct DrawTarget {
    DrawTargetKind kind = DrawTargetKind::kImage;
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
    // What the platform holds while an image output lives (Platform.h).
    void* imageState = nullptr;
    // Set for a platform's native output (Platform.h), which has no buffer.
    bool native = false;
    void* nativeContext = nullptr;
};

// Makes a new output over buffer current (ending any current one first) and
// returns it; null if buffer is null or memory is short.
DrawTarget* MakeDrawTarget(DrawTargetKind kind, PixelBuffer* buffer);
// Makes a new native output over the platform's context current (ending any
// current one first); ReleaseNativeOutput runs when it ends. Null if memory
// is short (ReleaseNativeOutput has then been run already).
DrawTarget* MakeNativeDrawTarget(DrawTargetKind kind, int width, int height, int depth,
                                 void* context);
// The output drawing may write to now: current and begun, with a buffer or
// native drawing.
DrawTarget* DrawingTarget();
// Makes color the output's current colour (only work when it changed).
void SetTargetColor(DrawTarget& output, Color color);
// Ends the current output if it is the native one over context, which is
// going away.
void EndNativeDrawing(const void* context);
// Stops the current output from touching buffer, which is going away.
void DetachDrawingFrom(const PixelBuffer* buffer);
