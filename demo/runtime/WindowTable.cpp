#include "demo/runtime/WindowTable.h"

#include "demo/runtime/Events.h"
#include "demo/runtime/ObjectTable.h"
#include "demo/runtime/Platform.h"
#include "demo/runtime/RuntimeCore.h"

namespace {

void ReleaseWindow(int number);

ObjectTable<WindowRecord> windowTable(16, ReleaseWindow);

void ReleaseWindow(int number) {
    WindowRecord* record = windowTable.Find(number);
    if (record == nullptr) {
        return;
    }
    // The screen draws into this window; it cannot outlive it.
    if (ScreenParentWindow() == record->handle) {
        FreeWindowScreen();
    }
    DestroyPlatformWindow(number, *record);
    // Nobody may read about a window that is gone.
    RemoveWindowEvents(number);
    windowTable.Release(number);
}

}  // namespace

WindowRecord* FindWindowRecord(int number) {
    return windowTable.Find(number);
}

int WindowNumberOf(WindowHandle handle) {
    return handle == nullptr ? -1 : windowTable.FindNumber([handle](const WindowRecord& r) {
        return r.handle == handle;
    });
}

void ReportWindowSized(int number, WindowSizeChange change) {
    WindowRecord* record = windowTable.Find(number);
    if (record == nullptr) {
        return;
    }
    switch (change) {
        case WindowSizeChange::kMinimised:
            record->minimisedOrMaximised = true;
            QueueWindowEvent(EventWindowMinimised, number);
            return;
        case WindowSizeChange::kMaximised:
            record->minimisedOrMaximised = true;
            QueueWindowEvent(EventWindowMaximised, number);
            break;
        case WindowSizeChange::kRestored:
            if (record->minimisedOrMaximised) {
                QueueWindowEvent(EventWindowRestored, number);
            }
            record->minimisedOrMaximised = false;
            break;
        case WindowSizeChange::kOther:
            break;
    }
    QueueWindowEvent(EventWindowSized, number);
}

void StartWindowSupport() {
    windowTable.ReleaseAll();
}

void StopWindowSupport() {
    windowTable.ReleaseAll();
}

WindowHandle MakeWindow(int number, int x, int y, int innerWidth, int innerHeight,
                        const char* title, unsigned flags, WindowHandle parent) {
    if (innerWidth <= 0 || innerHeight <= 0) {
        return nullptr;
    }
    WindowRecord* record = windowTable.Take(number);
    if (record == nullptr) {
        return nullptr;
    }
    WindowRequest request;
    request.number = number;
    request.x = x;
    request.y = y;
    request.innerWidth = innerWidth;
    request.innerHeight = innerHeight;
    request.title = title != nullptr ? title : "";
    request.flags = flags;
    request.parent = parent;
    if (!CreatePlatformWindow(*record, request) || record->handle == nullptr) {
        windowTable.Release(number);
        return nullptr;
    }
    record->minimisedOrMaximised = false;
    record->focus = -1;
    return record->handle;
}

WindowHandle NativeWindowHandle(int number) {
    const WindowRecord* record = windowTable.Find(number);
    return record != nullptr ? record->handle : nullptr;
}
