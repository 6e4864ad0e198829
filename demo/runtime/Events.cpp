#include "demo/runtime/Events.h"

#include <algorithm>
#include <deque>

namespace {

thread_local std::deque<EventRecord> queue;

bool SameEvent(const EventRecord& a, int code, const std::intptr_t* detail) {
    return a.code == code && a.detail[0] == detail[0] && a.detail[1] == detail[1] &&
           a.detail[2] == detail[2];
}

}  // namespace

void QueueEvent(int code, std::intptr_t detail0, std::intptr_t detail1, std::intptr_t detail2,
                std::intptr_t detail3, std::intptr_t detail4) {
    EventRecord event;
    event.code = code;
    event.detail[0] = detail0;
    event.detail[1] = detail1;
    event.detail[2] = detail2;
    event.detail[3] = detail3;
    event.detail[4] = detail4;
    // Codes from 65,536 up carry payloads that must all arrive; the window
    // events below that only say "something changed", and once is enough.
    if (code >= 0 && code < 65536 && !queue.empty() &&
        SameEvent(queue.back(), code, event.detail)) {
        return;
    }
    queue.push_back(event);
}

void QueueWindowEvent(int code, int windowNumber) {
    QueueEvent(code, windowNumber, windowNumber, 0);
}

bool TakeQueuedEvent(EventRecord& event) {
    if (queue.empty()) {
        return false;
    }
    event = queue.front();
    queue.pop_front();
    return true;
}

void RemoveWindowEvents(int windowNumber) {
    std::erase_if(queue,
                  [windowNumber](const EventRecord& e) { return e.detail[1] == windowNumber; });
}

void ClearQueuedEvents() {
    queue.clear();
}

int QueuedEventCount() {
    return static_cast<int>(queue.size());
}

bool EventQueued(int code) {
    return std::any_of(queue.begin(), queue.end(),
                       [code](const EventRecord& e) { return e.code == code; });
}
