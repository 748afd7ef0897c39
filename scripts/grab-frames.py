#!/usr/bin/env python3
"""Grabs a window of the X display in $DISPLAY over and over into raw BGRA files.

    grab-frames.py WINDOW_ID SECONDS FPS OUT_DIR

One process reading the window with XGetImage keeps up with a running game where one xwd per
frame could not. Writes OUT_DIR/0000.bgra, 0001.bgra, ... (the window's size, 4 bytes a pixel,
the fourth unused) and prints "FRAMES SECONDS WIDTH HEIGHT".
"""
import ctypes
import sys
import time


class XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
                ("height", ctypes.c_int), ("rest", ctypes.c_byte * 256)]


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p)]


def main():
    window, seconds, fps, out = int(sys.argv[1], 0), float(sys.argv[2]), float(sys.argv[3]), sys.argv[4]
    x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_void_p]
    x11.XGetImage.restype = ctypes.c_void_p
    x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                              ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
    x11.XFree.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("cannot open the display")
    attributes = XWindowAttributes()
    x11.XGetWindowAttributes(display, window, ctypes.byref(attributes))
    width, height = attributes.width, attributes.height
    z_pixmap = 2
    start = time.monotonic()
    frames = 0
    while time.monotonic() - start < seconds:
        due = start + frames / fps
        now = time.monotonic()
        if due > now:
            time.sleep(due - now)
        pointer = x11.XGetImage(display, window, 0, 0, width, height, 0xFFFFFFFF, z_pixmap)
        if not pointer:
            break
        image = ctypes.cast(pointer, ctypes.POINTER(XImage)).contents
        with open("%s/%04d.bgra" % (out, frames), "wb") as f:
            f.write(ctypes.string_at(image.data, width * height * 4))
        x11.XFree(image.data)
        x11.XFree(pointer)
        frames += 1
    print(frames, round(time.monotonic() - start, 3), width, height)


main()
