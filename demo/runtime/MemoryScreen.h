// A screen whose back buffer is plain memory of ours: 32 bits a pixel, top
// row first, keeping its contents between presentations, with the record of
// what the drawing routines changed since the last one. The headless and web
// screens are this plus the way each hands the changed parts on.
#pragma once

#include <memory>
#include <vector>

#include "demo/runtime/PixelBuffer.h"
#include "demo/runtime/ScreenDamage.h"
#include "demo/runtime/runtime.h"

struct MemoryScreen {
    WindowHandle parent = nullptr;
    int x = 0;
    int y = 0;
    std::unique_ptr<PixelBuffer> backBuffer;
    ScreenDamage damage;
    // Filled by TakeChanges.
    std::vector<DamageRect> changed;

    // A new, black back buffer over a window of the table; on failure the
    // screen stays released.
    bool Make(WindowHandle window, int left, int top, int width, int height);
    DrawTarget* Target();
    // Moves what changed since the last call into `changed`; false when there
    // is no back buffer.
    bool TakeChanges();
    WindowHandle Parent() const { return backBuffer ? parent : nullptr; }
    // Lets go of the back buffer, and of any drawing output still over it.
    void Release();
};
