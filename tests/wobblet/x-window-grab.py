#!/usr/bin/env python3
"""Writes the contents of one X window as a PPM picture, whole even where the
window lies partly or wholly off the screen (ImageMagick's import crops to
the screen). Usage: x-window-grab.py WINDOW_ID OUT.ppm"""
import ctypes
import ctypes.util
import sys


class XImage(ctypes.Structure):
    # The leading fields of Xlib's XImage, as far as they are read here.
    _fields_ = [
        ("width", ctypes.c_int),
        ("height", ctypes.c_int),
        ("xoffset", ctypes.c_int),
        ("format", ctypes.c_int),
        ("data", ctypes.POINTER(ctypes.c_ubyte)),
        ("byte_order", ctypes.c_int),
        ("bitmap_unit", ctypes.c_int),
        ("bitmap_bit_order", ctypes.c_int),
        ("bitmap_pad", ctypes.c_int),
        ("depth", ctypes.c_int),
        ("bytes_per_line", ctypes.c_int),
        ("bits_per_pixel", ctypes.c_int),
        ("red_mask", ctypes.c_ulong),
        ("green_mask", ctypes.c_ulong),
        ("blue_mask", ctypes.c_ulong),
    ]


class XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
                ("height", ctypes.c_int), ("rest", ctypes.c_byte * 256)]


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: x-window-grab.py WINDOW_ID OUT.ppm")
    window = int(sys.argv[1], 0)
    x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                         ctypes.POINTER(XWindowAttributes)]
    x11.XGetImage.restype = ctypes.POINTER(XImage)
    x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                              ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("x-window-grab: cannot open the display")
    attributes = XWindowAttributes()
    if not x11.XGetWindowAttributes(display, window, ctypes.byref(attributes)):
        sys.exit("x-window-grab: no window %s" % sys.argv[1])
    z_pixmap, all_planes = 2, 0xFFFFFFFF
    image = x11.XGetImage(display, window, 0, 0, attributes.width, attributes.height,
                          all_planes, z_pixmap)
    if not image:
        sys.exit("x-window-grab: the window's contents cannot be read")
    im = image.contents
    if im.bits_per_pixel != 32 or im.byte_order != 0 or im.red_mask != 0xFF0000:
        sys.exit("x-window-grab: only 24-bit colour in 32-bit pixels is read")
    raw = ctypes.string_at(im.data, im.bytes_per_line * im.height)
    rgb = bytearray(im.width * im.height * 3)
    for y in range(im.height):
        row = raw[y * im.bytes_per_line:y * im.bytes_per_line + im.width * 4]
        out = y * im.width * 3
        # Pixels are blue, green, red, unused in memory.
        rgb[out:out + im.width * 3:3] = row[2::4]
        rgb[out + 1:out + im.width * 3:3] = row[1::4]
        rgb[out + 2:out + im.width * 3:3] = row[0::4]
    with open(sys.argv[2], "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (im.width, im.height))
        f.write(rgb)


main()
