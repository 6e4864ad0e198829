// SDL wakes a thread that waits for events by sending an event to one of its
// windows over a second connection to the X server, whenever an event comes
// in the wait. A close that comes so (the window minimised, the loop asleep
// in WaitUntilSeen) ends the loop at once, and the window may be destroyed
// before the server gets to that wake-up. The server then answers BadWindow,
// which Xlib takes as SDL closes that connection on the way out, after SDL
// has put back the handler it found: Xlib's own ends the process with status
// 1, and a program closed by its user would report a failure. An event for a
// window that is gone changes nothing; every other error goes where it went.
#include <X11/Xlib.h>
#include <X11/Xproto.h>

#include "demo/runtime/sdl/SdlPlatform.h"

namespace {

// The handler found, which every other error is handed to.
XErrorHandler found = nullptr;

int PassOverSendsToWindowsGone(Display* display, XErrorEvent* error) {
    if (error->request_code == X_SendEvent && error->error_code == BadWindow) {
        return 0;
    }
    return found(display, error);
}

}  // namespace

void TolerateLateWakeUps() {
    const XErrorHandler before = XSetErrorHandler(PassOverSendsToWindowsGone);
    if (before != PassOverSendsToWindowsGone) {
        found = before;
    }
}
