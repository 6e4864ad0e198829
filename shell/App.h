// velmora's application core: the global objects and state, start-up, the
// keyboard commands, the two halves of a tick, and one handler per window
// message. A platform's event loop only turns its events into these calls
// and supplies the services of shell/Platform.h.
#pragma once

#include "model/CubeMesh.h"
#include "render/DrawGL.h"
#include "scene/Scene.h"

// Constructed in this order before main and destroyed in reverse, so the
// drawing context goes first.
extern CubeMesh theMesh;
extern Scene theScene;
extern DrawGL theDrawGL;

extern unsigned char warpOn;
extern unsigned char spinOn;
extern int warpIndex;
extern double warpTime;

// The window class name and title are this one text.
extern const char* const kWindowTitle;
inline constexpr int kWindowWidth = 300;  // outer size
inline constexpr int kWindowHeight = 200;
inline constexpr int kTimerId = 5;
inline constexpr int kTickMilliseconds = 20;

// Where the window's top-left corner goes to centre it on a screen of the
// given size (integer division, truncating toward zero).
void CenteredWindowOrigin(int screenWidth, int screenHeight, int& x, int& y);

// Start-up after the window exists (and OnCreate ran): the drawing context at
// 300 x 200 with its materials, colour tracking and smoothing, the window
// shown, the mesh of 20, warp 1 with warping and spinning on, three zooms.
// Returns 1; failures of the drawing context are reported by it and do not
// stop start-up.
int InitApp();

void HandleKey(char character);
void AnimateFrame();
// Draws the scene and copies it to the client area. While the window cannot
// be seen (MainWindowCanBeSeen) it draws nothing and only moves the colours
// on as the drawing would have.
void RenderFrame();
// A tick whose picture nobody will see, seen window or not: AnimateFrame,
// and the colours moved on as RenderFrame's drawing would have. The SDL
// loop runs the ticks it slept through while the window was unseen so.
void PassOverTick();

// The window messages.
void OnCreate();
void OnDestroy();
void OnSize(int width, int height);
void OnPaint();
void OnClose();
void OnChar(char character);
void OnTimer();
