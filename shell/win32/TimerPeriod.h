// The system timer's resolution, raised to 1 ms while velmora runs. Window
// timers fire on the system clock's ticks, which come every 15.6 ms unless a
// program asks for finer ones: SetTimer's 20 ms would then round up to two
// ticks (31 ms) and the cube would turn a third slower than it should.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <mmsystem.h>

// The two calls that request and release a resolution: winmm's, or a test's
// recorder.
struct TimerPeriodCalls {
    MMRESULT(WINAPI* request)(UINT milliseconds) = timeBeginPeriod;
    MMRESULT(WINAPI* release)(UINT milliseconds) = timeEndPeriod;
};

// Requests 1 ms for its lifetime; a request the system refuses is not
// released, since every release must match a granted request.
class TimerPeriod {
  public:
    static constexpr UINT kMilliseconds = 1;

    explicit TimerPeriod(TimerPeriodCalls calls = {})
        : calls(calls), granted(calls.request(kMilliseconds) == TIMERR_NOERROR) {}
    ~TimerPeriod() {
        if (granted) {
            calls.release(kMilliseconds);
        }
    }
    TimerPeriod(const TimerPeriod&) = delete;
    TimerPeriod& operator=(const TimerPeriod&) = delete;

  private:
    TimerPeriodCalls calls;
    bool granted;
};
