#include <new>
#include <string>

#include "demo/runtime/Platform.h"
#include "demo/runtime/WindowTable.h"

namespace {

// What a window is when there is no display: where and how large it was asked
// to be.
struct HeadlessWindow {
    std::string title;
    int x = 0;
    int y = 0;
    int innerWidth = 0;
    int innerHeight = 0;
};

}  // namespace

bool CreatePlatformWindow(WindowRecord& record, const WindowRequest& request) {
    auto* window = new (std::nothrow) HeadlessWindow;
    if (window == nullptr) {
        return false;
    }
    window->title = request.title;
    window->x = request.x;
    window->y = request.y;
    window->innerWidth = request.innerWidth;
    window->innerHeight = request.innerHeight;
    record.handle = window;
    return true;
}

void DestroyPlatformWindow(int /*number*/, WindowRecord& record) {
    delete static_cast<HeadlessWindow*>(record.handle);
    record.handle = nullptr;
}
