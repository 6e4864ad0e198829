#include <memory>
#include <string>

#include "demo/runtime/Events.h"
#include "demo/runtime/ObjectTable.h"
#include "demo/runtime/headless/HeadlessWindows.h"

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

struct WindowRecord {
    std::unique_ptr<HeadlessWindow> handle;
    int focus = 0;
};

void ReleaseWindow(int number);

ObjectTable<WindowRecord> windowTable(16, ReleaseWindow);

void ReleaseWindow(int number) {
    if (windowTable.Find(number) == nullptr) {
        return;
    }
    RemoveWindowEvents(number);
    windowTable.Release(number);
}

}  // namespace

void StartWindowSupport() {
    windowTable.ReleaseAll();
}

void StopWindowSupport() {
    windowTable.ReleaseAll();
}

int WindowNumberOf(WindowHandle handle) {
    return handle == nullptr ? -1 : windowTable.FindNumber([handle](const WindowRecord& r) {
        return r.handle.get() == handle;
    });
}

WindowHandle MakeWindow(int number, int x, int y, int innerWidth, int innerHeight,
                        const char* title, unsigned /*flags*/, WindowHandle /*parent*/) {
    if (innerWidth <= 0 || innerHeight <= 0) {
        return nullptr;
    }
    WindowRecord* record = windowTable.Take(number);
    if (record == nullptr) {
        return nullptr;
    }
    auto window = std::make_unique<HeadlessWindow>();
    window->title = title != nullptr ? title : "";
    window->x = x;
    window->y = y;
    window->innerWidth = innerWidth;
    window->innerHeight = innerHeight;
    record->handle = std::move(window);
    record->focus = -1;
    return record->handle.get();
}

WindowHandle NativeWindowHandle(int number) {
    const WindowRecord* record = windowTable.Find(number);
    return record != nullptr ? record->handle.get() : nullptr;
}
