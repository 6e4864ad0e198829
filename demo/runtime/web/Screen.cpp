// The screen: an 800 x 600 back buffer in wasm memory that keeps its
// contents, presented into the canvas. Only the rectangle that changed since
// the last present is put, so a frame costs the composite's area, not the
// screen's. The rectangle is found by comparing with a copy of what was
// shown; bookkeeping of what the drawing calls touched would spare that
// comparison. The page's refresh (requestAnimationFrame) paces the frames:
// presenting itself never waits.
#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "demo/runtime/DrawTarget.h"
#include "demo/runtime/Platform.h"
#include "demo/runtime/RuntimeCore.h"
#include "demo/runtime/WindowTable.h"
#include "demo/runtime/web/WebPlatform.h"

namespace {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct Screen {
    WindowHandle parent = nullptr;
    std::unique_ptr<PixelBuffer> backBuffer;
    // What the canvas shows, to find what changed; empty before the first
    // present, which puts everything.
    std::vector<std::uint8_t> shown;
    std::vector<std::uint8_t> rgba;
};

Screen screen;

// The smallest rectangle holding every pixel of back that differs from
// shown (the whole screen when nothing was shown yet); empty when none does.
Rect ChangedRect(const PixelBuffer& back, const std::vector<std::uint8_t>& shown) {
    if (shown.empty()) {
        return Rect{0, 0, back.width, back.height};
    }
    const std::size_t rowBytes = static_cast<std::size_t>(back.width) * 4;
    int top = back.height;
    int bottom = -1;
    int left = back.width;
    int right = -1;
    // Only the three colour bytes of a pixel count; the fourth is never shown.
    const auto same = [](const std::uint8_t* a, const std::uint8_t* b) {
        return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
    };
    for (int y = 0; y < back.height; ++y) {
        const std::uint8_t* now = back.Row(y);
        const std::uint8_t* was = shown.data() + static_cast<std::size_t>(y) * rowBytes;
        if (std::memcmp(now, was, rowBytes) == 0) {
            continue;
        }
        int first = 0;
        while (first < back.width && same(now + 4 * first, was + 4 * first)) {
            ++first;
        }
        if (first == back.width) {
            continue;
        }
        int last = back.width - 1;
        while (same(now + 4 * last, was + 4 * last)) {
            --last;
        }
        top = std::min(top, y);
        bottom = y;
        left = std::min(left, first);
        right = std::max(right, last);
    }
    if (bottom < 0) {
        return Rect{};
    }
    return Rect{left, top, right - left + 1, bottom - top + 1};
}

}  // namespace

int LoadScreenSystem() {
    return 1;
}

int MakeWindowScreen(WindowHandle parent, int /*x*/, int /*y*/, int width, int height,
                     int /*autoStretch*/, int /*rightOffset*/, int /*bottomOffset*/,
                     int /*flipMode*/) {
    FreeWindowScreen();
    if (WindowNumberOf(parent) < 0) {
        return 0;
    }
    std::unique_ptr<PixelBuffer> backBuffer = NewPixelBuffer(width, height, 32, false);
    if (!backBuffer) {
        return 0;
    }
    screen.parent = parent;
    screen.backBuffer = std::move(backBuffer);
    return 1;
}

DrawTarget* ScreenTarget() {
    return MakeScreenOutput(screen.backBuffer.get());
}

int PresentScreen() {
    const PixelBuffer* back = screen.backBuffer.get();
    if (back == nullptr) {
        return 0;
    }
    const Rect changed = ChangedRect(*back, screen.shown);
    if (changed.width == 0) {
        return 1;
    }
    screen.rgba.resize(static_cast<std::size_t>(changed.width) * changed.height * 4);
    std::uint8_t* out = screen.rgba.data();
    for (int y = changed.y; y < changed.y + changed.height; ++y) {
        const std::uint8_t* bgrx = back->Row(y) + 4 * changed.x;
        for (int x = 0; x < changed.width; ++x, out += 4, bgrx += 4) {
            out[0] = bgrx[2];
            out[1] = bgrx[1];
            out[2] = bgrx[0];
            out[3] = 255;
        }
    }
    wobblet_page_put(screen.rgba.data(), changed.x, changed.y, changed.width, changed.height);
    const std::size_t rowBytes = static_cast<std::size_t>(back->width) * 4;
    screen.shown.resize(rowBytes * back->height);
    for (int y = changed.y; y < changed.y + changed.height; ++y) {
        std::memcpy(screen.shown.data() + y * rowBytes, back->Row(y), rowBytes);
    }
    return 1;
}

WindowHandle ScreenParentWindow() {
    return screen.backBuffer ? screen.parent : nullptr;
}

void FreeWindowScreen() {
    if (screen.backBuffer) {
        DetachDrawingFrom(screen.backBuffer.get());
    }
    screen = Screen{};
}
