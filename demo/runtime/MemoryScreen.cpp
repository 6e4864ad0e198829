#include "demo/runtime/MemoryScreen.h"

#include <utility>

#include "demo/runtime/DrawTarget.h"
#include "demo/runtime/RuntimeCore.h"
#include "demo/runtime/WindowTable.h"

bool MemoryScreen::Make(WindowHandle window, int left, int top, int width, int height) {
    Release();
    if (WindowNumberOf(window) < 0) {
        return false;
    }
    std::unique_ptr<PixelBuffer> buffer = NewPixelBuffer(width, height, 32, false);
    if (!buffer) {
        return false;
    }
    parent = window;
    x = left;
    y = top;
    backBuffer = std::move(buffer);
    damage.Reset(width, height);
    return true;
}

DrawTarget* MemoryScreen::Target() {
    return MakeScreenOutput(backBuffer.get(), &damage);
}

bool MemoryScreen::TakeChanges() {
    if (!backBuffer) {
        return false;
    }
    damage.Take(changed);
    return true;
}

void MemoryScreen::Release() {
    if (backBuffer) {
        DetachDrawingFrom(backBuffer.get());
    }
    *this = MemoryScreen{};
}
