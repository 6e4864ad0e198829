// wobblet whose first Wayland pool cannot be made, as when the process has
// run out of file handles: the first presentation shows nothing and says so,
// the next one makes the pool and goes on. At exit:
//   pool failures N
// on standard error.
#include <cerrno>
#include <cstdio>

#include "demo/Wobblet.h"
#include "demo/runtime/sdl/WaylandPresent.h"

namespace {

WaylandPoolCalls real;
int failures = 0;

int FailsOnce(const char* name, unsigned flags) {
    if (failures == 0) {
        ++failures;
        errno = EMFILE;
        return -1;
    }
    return real.makeMemory(name, flags);
}

}  // namespace

int main() {
    real = waylandPoolCalls;
    waylandPoolCalls.makeMemory = FailsOnce;
    const int status = RunWobblet("wobblet");
    std::fprintf(stderr, "pool failures %d\n", failures);
    return status;
}
