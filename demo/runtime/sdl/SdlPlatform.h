// What the SDL platform's files share beyond the platform contract: the event
// translation and the screen's repaint.
#pragma once

#include <SDL.h>

#include "demo/runtime/WindowTable.h"
#include "demo/runtime/runtime.h"

// Turns a window's system event into the run-time's window events.
void TranslateWindowEvent(const SDL_WindowEvent& event);

// Hands the window events SDL has read so far to the run-time's queue,
// leaving every other event in SDL's.
void TakeWindowEvents();

// Shows the whole screen again (the window was uncovered).
void RepaintScreen();
// The renderer lost its textures; make them again.
void RestoreScreenTextures();
// The renderer's device was reset, and the renderer with it: make a new one.
void RestoreScreenRenderer();
// Ends the video subsystem if LoadScreenSystem started it.
void UnloadScreenSystem();
// Before SDL starts, which hands X errors on to the handler it finds: a
// wake-up SDL sent to a window already destroyed no longer ends the process
// (LateWakeUps.cpp).
void TolerateLateWakeUps();
