#include "tests/wobblet/runtime/XWindow.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

bool X11Of(SDL_Window* window, Display*& display, Window& x11) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) {
        return false;
    }
    display = info.info.x11.display;
    x11 = info.info.x11.window;
    return true;
}

}  // namespace

bool SendCloseRequest(SDL_Window* window) {
    Display* display = nullptr;
    Window x11 = 0;
    if (!X11Of(window, display, x11)) {
        return false;
    }
    XEvent close{};
    close.xclient.type = ClientMessage;
    close.xclient.window = x11;
    close.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    close.xclient.format = 32;
    close.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    close.xclient.data.l[1] = CurrentTime;
    const bool sent = XSendEvent(display, x11, False, NoEventMask, &close) != 0;
    XFlush(display);
    return sent;
}

Uint32 ShownPixel(SDL_Window* window, int x, int y) {
    Display* display = nullptr;
    Window x11 = 0;
    if (!X11Of(window, display, x11)) {
        return 0xFFFFFFFF;
    }
    // Whatever SDL sent is on the server before it is read back.
    XSync(display, False);
    XImage* image = XGetImage(display, x11, x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) {
        return 0xFFFFFFFF;
    }
    const auto pixel = static_cast<Uint32>(XGetPixel(image, 0, 0) & 0xFFFFFF);
    XDestroyImage(image);
    return pixel;
}

bool SendToAWindowGone() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return false;
    }
    const Window gone =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XDestroyWindow(display, gone);
    XEvent wakeUp{};
    wakeUp.xclient.type = ClientMessage;
    wakeUp.xclient.window = gone;
    wakeUp.xclient.format = 8;
    XSendEvent(display, gone, False, NoEventMask, &wakeUp);
    XCloseDisplay(display);
    return true;
}
