// The rule that keeps ticks from piling up: the timer thread posts a tick
// event only when none is waiting, as a window timer leaves at most one
// timer message in the queue however late the loop is.
#pragma once

#include <atomic>

class PendingTick {
  public:
    // On the timer thread: true when no tick is waiting, and from now on one
    // is; the caller then posts it (or calls Release if it could not).
    bool Claim() { return !pending.exchange(true, std::memory_order_acq_rel); }
    // On the event thread as the tick is taken off the queue, before it
    // runs, so that an expiry during a long tick queues the next one.
    void Release() { pending.store(false, std::memory_order_release); }

  private:
    std::atomic<bool> pending{false};
};
