// Screen rectangles cut to the window that shows them.
#include "demo/runtime/sdl/WindowClip.h"

#include <algorithm>

bool ClipToWindow(const DamageRect& r, int x, int y, int windowWidth, int windowHeight,
                  DamageRect& clipped) {
    const int left = std::max(x + r.x, 0);
    const int top = std::max(y + r.y, 0);
    const int right = std::min(x + r.x + r.width, windowWidth);
    const int bottom = std::min(y + r.y + r.height, windowHeight);
    if (left >= right || top >= bottom) {
        return false;
    }
    clipped = DamageRect{left, top, right - left, bottom - top};
    return true;
}
