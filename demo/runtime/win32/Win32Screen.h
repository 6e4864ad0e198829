// The screen's drawing output: GDI on the device context of the Direct3D back
// buffer, obtained afresh for every drawing pass.
#pragma once

#include <d3d9.h>

#include "demo/runtime/runtime.h"

// A drawing output over the back buffer's device context, made current; null
// when the surface gives no device context.
DrawTarget* MakeScreenDrawing(IDirect3DSurface9* backBuffer, int width, int height);
// Ends the screen's drawing output if it is current (the surface is going
// away or being reset).
void EndScreenDrawing();

// The two device calls a lost device goes through: whether it can present
// now, and its reset. The device's own unless a test puts a device there
// that is lost on cue.
struct ScreenDeviceCalls {
    HRESULT (*test)(IDirect3DDevice9* device);
    HRESULT (*reset)(IDirect3DDevice9* device, D3DPRESENT_PARAMETERS* parameters);
};
extern ScreenDeviceCalls screenDeviceCalls;
