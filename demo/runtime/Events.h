// The calling thread's event queue: first in, first out. The platforms'
// window code fills it; PollEvent and WaitEvent empty it before they look
// at the system's own messages.
#pragma once

#include <cstdint>

struct EventRecord {
    int code = 0;
    // For window events: window number or 0, window number, 0, 0, 0.
    std::intptr_t detail[5] = {};
};

// Appends an event, unless the newest queued event already says the same:
// same code (below 65,536) and the same first three detail words.
void QueueEvent(int code, std::intptr_t detail0, std::intptr_t detail1, std::intptr_t detail2,
                std::intptr_t detail3 = 0, std::intptr_t detail4 = 0);
// Queues one of the window events for window number.
void QueueWindowEvent(int code, int windowNumber);
// Unlinks the oldest event; false when the queue is empty.
bool TakeQueuedEvent(EventRecord& event);
// Drops every event whose second detail word is windowNumber (the window is
// going away and nobody may read about it later).
void RemoveWindowEvents(int windowNumber);
void ClearQueuedEvents();
int QueuedEventCount();
// Whether an event of this code waits in the queue.
bool EventQueued(int code);
