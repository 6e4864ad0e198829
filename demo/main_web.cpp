// wobblet in a web page. A page cannot loop: the frame loop is turned inside
// out, and the page's refresh (requestAnimationFrame) calls the same
// RunFrame once a display frame until the window's close event arrives.
#include <emscripten/emscripten.h>

#include <cstdio>

#include "demo/Wobblet.h"

extern "C" int wobblet_page_frames_held();

namespace {

bool running = false;
int framesRun = 0;

void Frame() {
    if (!running) {
        return;
    }
    ++framesRun;
    if (!RunFrame()) {
        running = false;
        emscripten_cancel_main_loop();
        StopWobblet();
    }
}

}  // namespace

extern "C" {

// Frames run so far, by the page's refresh or by wobblet_test_frames.
EMSCRIPTEN_KEEPALIVE int wobblet_frame_count() {
    return framesRun;
}

// For the tests, with the refresh held: runs up to count frames at once,
// stopping when the program ends; returns how many ran.
EMSCRIPTEN_KEEPALIVE int wobblet_test_frames(int count) {
    int ran = 0;
    for (; ran < count && running; ++ran) {
        Frame();
    }
    return ran;
}

}  // extern "C"

int main() {
    if (const char* failed = StartWobblet(); failed != nullptr) {
        std::fprintf(stderr, "wobblet: %s failed\n", failed);
        return 1;
    }
    running = true;
    if (wobblet_page_frames_held() == 0) {
        emscripten_set_main_loop(Frame, 0, false);
    }
    return 0;
}
