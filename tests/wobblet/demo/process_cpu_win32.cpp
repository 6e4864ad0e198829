#include <windows.h>

#include "tests/wobblet/demo/ProcessCpu.h"

namespace {

double Seconds(const FILETIME& time) {
    ULARGE_INTEGER ticks;
    ticks.LowPart = time.dwLowDateTime;
    ticks.HighPart = time.dwHighDateTime;
    return static_cast<double>(ticks.QuadPart) / 1e7;  // 100 ns ticks
}

}  // namespace

double ProcessCpuSeconds() {
    FILETIME created;
    FILETIME exited;
    FILETIME kernel;
    FILETIME user;
    if (GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user) == 0) {
        return 0;
    }
    return Seconds(kernel) + Seconds(user);
}
