// The window is the page's canvas: its drawing area has exactly the inner
// size asked for, the page's title is the window's, and leaving the page is
// the close box. A page has one canvas, so one window at a time.
#include <emscripten/html5.h>

#include "demo/runtime/Events.h"
#include "demo/runtime/Platform.h"
#include "demo/runtime/WindowTable.h"
#include "demo/runtime/web/WebPlatform.h"

namespace {

struct PageWindow {
    int number = -1;
};

PageWindow pageWindow;

const char* LeavingPage(int, const void*, void*) {
    if (pageWindow.number >= 0) {
        QueueWindowEvent(EventWindowClosed, pageWindow.number);
    }
    return nullptr;  // no question to the user
}

}  // namespace

bool CreatePlatformWindow(WindowRecord& record, const WindowRequest& request) {
    if (pageWindow.number >= 0 ||
        wobblet_page_open_window(request.title, request.innerWidth, request.innerHeight) == 0) {
        return false;
    }
    pageWindow.number = request.number;
    emscripten_set_beforeunload_callback(nullptr, LeavingPage);
    record.handle = &pageWindow;
    return true;
}

void DestroyPlatformWindow(int /*number*/, WindowRecord& record) {
    emscripten_set_beforeunload_callback(nullptr, nullptr);
    wobblet_page_close_window();
    pageWindow = PageWindow{};
    record.handle = nullptr;
}
