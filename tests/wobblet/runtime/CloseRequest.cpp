#include "tests/wobblet/runtime/CloseRequest.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>

bool SendCloseRequest(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) {
        return false;
    }
    Display* display = info.info.x11.display;
    XEvent close{};
    close.xclient.type = ClientMessage;
    close.xclient.window = info.info.x11.window;
    close.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    close.xclient.format = 32;
    close.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    close.xclient.data.l[1] = CurrentTime;
    const bool sent = XSendEvent(display, info.info.x11.window, False, NoEventMask, &close) != 0;
    XFlush(display);
    return sent;
}
