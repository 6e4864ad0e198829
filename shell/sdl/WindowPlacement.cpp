#include "shell/sdl/WindowPlacement.h"

#include <algorithm>

#include "shell/App.h"

ClientRect CentredClientRect(int screenWidth, int screenHeight, const FrameBorders& borders) {
    // A negative border is nonsense from the window manager; read it as none.
    const int top = std::max(borders.top, 0);
    const int left = std::max(borders.left, 0);
    const int bottom = std::max(borders.bottom, 0);
    const int right = std::max(borders.right, 0);
    int outerX = 0;
    int outerY = 0;
    CenteredWindowOrigin(screenWidth, screenHeight, outerX, outerY);
    ClientRect rect;
    rect.x = outerX + left;
    rect.y = outerY + top;
    rect.width = std::max(kWindowWidth - left - right, 1);
    rect.height = std::max(kWindowHeight - top - bottom, 1);
    return rect;
}
