#!/usr/bin/env python3
"""Sends an X window what a desktop would, on cue. Usage:
  x-window-send.py expose WINDOW_ID COUNT SECONDS   COUNT exposes, evenly spread
  x-window-send.py close WINDOW_ID                  the window manager's close
  x-window-send.py wm-close WINDOW_ID               the window manager asked to close
                                                    it, as a task bar asks
The exposes are real: the server clears the window and says so (XClearArea)."""
import ctypes
import ctypes.util
import sys
import time


class ClientMessage(ctypes.Structure):
    _fields_ = [
        ("type", ctypes.c_int),
        ("serial", ctypes.c_ulong),
        ("send_event", ctypes.c_int),
        ("display", ctypes.c_void_p),
        ("window", ctypes.c_ulong),
        ("message_type", ctypes.c_ulong),
        ("format", ctypes.c_int),
        ("data", ctypes.c_long * 5),
    ]


class Event(ctypes.Union):
    _fields_ = [("client", ClientMessage), ("pad", ctypes.c_long * 24)]


def main():
    x = ctypes.CDLL(ctypes.util.find_library("X11"))
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XInternAtom.restype = ctypes.c_ulong
    x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x.XClearArea.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_int] * 4 + [ctypes.c_int]
    x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                             ctypes.POINTER(Event)]
    x.XFlush.argtypes = [ctypes.c_void_p]
    x.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x.XOpenDisplay(None)
    if not display:
        sys.exit("x-window-send.py: no X display")
    window = int(sys.argv[2], 0)
    if sys.argv[1] == "expose":
        count, seconds = int(sys.argv[3]), float(sys.argv[4])
        start = time.monotonic()
        for i in range(count):
            x.XClearArea(display, window, 0, 0, 0, 0, 1)
            x.XFlush(display)
            time.sleep(max(0.0, start + (i + 1) * seconds / count - time.monotonic()))
    elif sys.argv[1] == "close":
        event = Event()
        event.client.type = 33  # ClientMessage
        event.client.window = window
        event.client.message_type = x.XInternAtom(display, b"WM_PROTOCOLS", 0)
        event.client.format = 32
        event.client.data[0] = x.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        x.XSendEvent(display, window, 0, 0, ctypes.byref(event))
        x.XFlush(display)
    elif sys.argv[1] == "wm-close":
        # _NET_CLOSE_WINDOW to the root, from a pager (source 2): the window
        # manager closes the window its own way (WM_DELETE_WINDOW).
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        event = Event()
        event.client.type = 33  # ClientMessage
        event.client.window = window
        event.client.message_type = x.XInternAtom(display, b"_NET_CLOSE_WINDOW", 0)
        event.client.format = 32
        event.client.data[0] = 0  # CurrentTime
        event.client.data[1] = 2
        substructure = (1 << 19) | (1 << 20)  # SubstructureNotify, SubstructureRedirect
        x.XSendEvent(display, x.XDefaultRootWindow(display), 0, substructure, ctypes.byref(event))
        x.XFlush(display)
    else:
        sys.exit(__doc__)
    x.XCloseDisplay(display)


main()
