// The application core started once per benchmark process over the headless
// window, and the pieces of a tick the benchmarks time on their own.
#pragma once

// Runs the program's start (window created, InitApp) the first time; true
// when the drawing context exists.
bool StartOnce();
// The window's client area and the drawing context at width x height.
void UseSize(int width, int height);
// The OpenGL part of a tick alone: StartDraw, the scene's Draw, FinishDraw
// (which waits for the driver and reads the frame back into the bitmap).
void DrawOnly();
