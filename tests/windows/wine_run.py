#!/usr/bin/env python3
"""Plays the Windows game under Wine on a private Xvfb display and checks what a player sees.

    wine_run.py SCENARIO FOLDER REFERENCES OUT

SCENARIO is one of
    walk     menu -> hiscore page -> back -> PLAY -> "GET READY!" -> play, the ship steered
             right -> Escape -> the pause prompt -> Space -> the menu -> QUIT: exit code 0
    close    the window's close message during play (as a window manager sends it when the
             player clicks the close box): exit code 0
    no-data  the game started without its Data folder: a message box with the one line the
             desktop build prints, and a non-zero exit code once it is dismissed
FOLDER holds skarvold.exe (and Data/ but for no-data); the game is started from another folder,
OUT, where the pictures of failed checks and the game's own output are written. REFERENCES
holds the desktop's reference pictures (menu.png, hiscore.png, ...). The caller prepares Wine's
environment: WINEPREFIX (a copy of a prepared prefix), HOME, WINEARCH, WINEDEBUG,
WINEDLLOVERRIDES. Prints one line per check; exits 1 when one fails, 2 when the run could not
be made at all. Needs Xvfb, wine, xdotool and ImageMagick's convert (to read the references),
tesseract for the message box.
"""
import ctypes
import os
import subprocess
import sys
import time

# How the picture under Wine may differ from the desktop's. Wine draws through its Direct3D 9
# on Mesa's software OpenGL, and its blending of the antialiased edges of texts and sprites
# comes out a few steps off the desktop's software renderer; the texts themselves are drawn by
# the FreeType built for Windows, whose glyph edges differ a little from Debian's (see
# best_share). A pixel counts as different only past this much in some channel, and a region
# may hold this share of such pixels.
PIXEL_TOLERANCE = 40
REGION_SHARE = 0.10

WINDOW_WIDTH, WINDOW_HEIGHT = 800, 600


# --- X11 through Xlib ---------------------------------------------------------------------

class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int)]


class XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
                ("height", ctypes.c_int), ("border_width", ctypes.c_int),
                ("depth", ctypes.c_int), ("visual", ctypes.c_void_p),
                ("root", ctypes.c_ulong), ("class", ctypes.c_int),
                ("bit_gravity", ctypes.c_int), ("win_gravity", ctypes.c_int),
                ("backing_store", ctypes.c_int), ("backing_planes", ctypes.c_ulong),
                ("backing_pixel", ctypes.c_ulong), ("save_under", ctypes.c_int),
                ("colormap", ctypes.c_ulong), ("map_installed", ctypes.c_int),
                ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
                ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


class XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class XEvent(ctypes.Union):
    _fields_ = [("client", XClientMessageEvent), ("pad", ctypes.c_long * 24)]


IS_VIEWABLE = 2
CLIENT_MESSAGE = 33
Z_PIXMAP = 2


class Display:
    def __init__(self, name):
        x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
        x11.XOpenDisplay.restype = ctypes.c_void_p
        x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x11.XDefaultRootWindow.restype = ctypes.c_ulong
        x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x11.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                                   ctypes.POINTER(ctypes.c_ulong),
                                   ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                                   ctypes.POINTER(ctypes.c_uint)]
        x11.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                   ctypes.POINTER(ctypes.c_char_p)]
        x11.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                             ctypes.POINTER(XWindowAttributes)]
        x11.XGetImage.restype = ctypes.POINTER(XImage)
        x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                  ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        x11.XInternAtom.restype = ctypes.c_ulong
        x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                   ctypes.POINTER(XEvent)]
        x11.XFree.argtypes = [ctypes.c_void_p]
        x11.XFlush.argtypes = [ctypes.c_void_p]
        x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        # A window may vanish between listing and asking; Xlib's default handler would exit.
        self.handler = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(
            lambda display, event: 0)
        x11.XSetErrorHandler(self.handler)
        self.x11 = x11
        self.display = x11.XOpenDisplay(name.encode())
        if not self.display:
            raise RuntimeError("cannot open display " + name)

    def windows(self, window=None):
        """Every window below `window` (the root by default), depth first."""
        x11 = self.x11
        if window is None:
            window = x11.XDefaultRootWindow(self.display)
        root, parent = ctypes.c_ulong(), ctypes.c_ulong()
        children, count = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
        if not x11.XQueryTree(self.display, window, ctypes.byref(root), ctypes.byref(parent),
                              ctypes.byref(children), ctypes.byref(count)):
            return []
        found = [children[i] for i in range(count.value)]
        if children:
            x11.XFree(children)
        result = []
        for child in found:
            result.append(child)
            result.extend(self.windows(child))
        return result

    def name(self, window):
        text = ctypes.c_char_p()
        if not self.x11.XFetchName(self.display, window, ctypes.byref(text)) or not text.value:
            return ""
        value = text.value.decode(errors="replace")
        self.x11.XFree(text)
        return value

    def attributes(self, window):
        attributes = XWindowAttributes()
        if not self.x11.XGetWindowAttributes(self.display, window, ctypes.byref(attributes)):
            return None
        return attributes

    def shown_windows(self, name):
        """The viewable windows named `name`, as (window, width, height)."""
        shown = []
        for window in self.windows():
            if self.name(window) != name:
                continue
            attributes = self.attributes(window)
            if attributes is not None and attributes.map_state == IS_VIEWABLE:
                shown.append((window, attributes.width, attributes.height))
        return shown

    def grab_raw(self, window):
        """The window's pixels as the server holds them (4 bytes a pixel, blue first), with
        the width, height and row length; None when the window cannot be read."""
        attributes = self.attributes(window)
        if attributes is None:
            return None
        width, height = attributes.width, attributes.height
        pointer = self.x11.XGetImage(self.display, window, 0, 0, width, height, 0xFFFFFFFF,
                                     Z_PIXMAP)
        if not pointer:
            return None
        image = pointer.contents
        stride = image.bytes_per_line
        raw = ctypes.string_at(image.data, stride * height)
        self.x11.XFree(image.data)
        self.x11.XFree(pointer)
        return raw, width, height, stride

    def grab(self, window):
        """The window's picture as an Image, or None when it cannot be read."""
        grabbed = self.grab_raw(window)
        if grabbed is None:
            return None
        raw, width, height, stride = grabbed
        rgb = bytearray(width * height * 3)
        for y in range(height):
            row = raw[y * stride:y * stride + width * 4]
            out = y * width * 3
            rgb[out:out + width * 3:3] = row[2::4]
            rgb[out + 1:out + width * 3:3] = row[1::4]
            rgb[out + 2:out + width * 3:3] = row[0::4]
        return Image(width, height, bytes(rgb))

    def close(self, window):
        """Asks the window to close as a window manager does: WM_DELETE_WINDOW."""
        event = XEvent()
        event.client.type = CLIENT_MESSAGE
        event.client.window = window
        event.client.message_type = self.x11.XInternAtom(self.display, b"WM_PROTOCOLS", 0)
        event.client.format = 32
        event.client.data[0] = self.x11.XInternAtom(self.display, b"WM_DELETE_WINDOW", 0)
        event.client.data[1] = 0  # CurrentTime
        self.x11.XSendEvent(self.display, window, 0, 0, ctypes.byref(event))
        self.x11.XSync(self.display, 0)


# --- Pictures -----------------------------------------------------------------------------

class Image:
    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    @staticmethod
    def read(path):
        size = subprocess.run(["convert", path, "-format", "%w %h", "info:"], check=True,
                              capture_output=True, text=True).stdout.split()
        rgb = subprocess.run(["convert", path, "-alpha", "off", "-depth", "8", "rgb:-"],
                             check=True, capture_output=True).stdout
        return Image(int(size[0]), int(size[1]), rgb)

    def write_ppm(self, path):
        with open(path, "wb") as file:
            file.write(b"P6 %d %d 255\n" % (self.width, self.height) + self.rgb)

    def pixel(self, x, y):
        at = (y * self.width + x) * 3
        return self.rgb[at], self.rgb[at + 1], self.rgb[at + 2]


def different_share(image, reference, box, step=2, shift=(0, 0)):
    """The share of pixels in box (left, top, right, bottom) of the reference that differ past
    the tolerance from those of `image` moved by `shift`, looking at every `step`-th pixel
    both ways."""
    left, top, right, bottom = box
    dx, dy = shift
    differing = total = 0
    a, b, width = image.rgb, reference.rgb, image.width
    for y in range(top, bottom, step):
        row = y * width * 3
        moved = row + (dy * width + dx) * 3
        for x in range(left * 3, right * 3, step * 3):
            total += 1
            if (abs(a[moved + x] - b[row + x]) > PIXEL_TOLERANCE
                    or abs(a[moved + x + 1] - b[row + x + 1]) > PIXEL_TOLERANCE
                    or abs(a[moved + x + 2] - b[row + x + 2]) > PIXEL_TOLERANCE):
                differing += 1
    return differing / max(total, 1)


def best_share(image, reference, box, reach=1):
    """different_share at the best of the shifts by up to `reach` pixels each way. Texts under
    Wine are rasterised by the FreeType built for Windows here, whose glyphs come out a pixel
    wider or narrower now and then than those of Debian's, so a centred text may stand a pixel
    off the desktop's; a screen shake moves every text by a few pixels."""
    share = different_share(image, reference, box)
    if share <= REGION_SHARE:
        return share
    left, top, right, bottom = box
    shifts = [(dx, dy) for dy in range(-reach, reach + 1) for dx in range(-reach, reach + 1)
              if left + dx >= 0 and top + dy >= 0 and right + dx <= image.width
              and bottom + dy <= image.height]
    if reach > 1:
        # Coarsely first, then the best shift and its neighbours closely.
        dx, dy = min(shifts, key=lambda shift: different_share(image, reference, box, 4, shift))
        shifts = [shift for shift in shifts if abs(shift[0] - dx) <= 1 and abs(shift[1] - dy) <= 1]
    return min([share] + [different_share(image, reference, box, shift=shift) for shift in shifts])


def mean_brightness(image, box, step=4):
    left, top, right, bottom = box
    total = count = 0
    for y in range(top, bottom, step):
        for x in range(left, right, step):
            total += sum(image.pixel(x, y))
            count += 3
    return total / max(count, 1)


# --- The run ------------------------------------------------------------------------------

class Run:
    def __init__(self, scenario, folder, references, out):
        self.scenario, self.folder, self.references, self.out = scenario, folder, references, out
        self.failures = 0
        self.reference_cache = {}
        self.xvfb = self.game = None
        self.display = None
        self.window = None
        self.grabs = 0

    # Starting and ending

    def start_xvfb(self):
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
            pass_fds=(write,), stdout=subprocess.DEVNULL,
            stderr=open(os.path.join(self.out, "xvfb.log"), "w"))
        os.close(write)
        number = b""
        with os.fdopen(read, "rb") as pipe:
            while not number.endswith(b"\n"):
                byte = pipe.read(1)
                if not byte:
                    raise RuntimeError("Xvfb did not start: see xvfb.log")
                number += byte
        self.display_name = ":" + number.decode().strip()
        self.display = Display(self.display_name)

    def start_game(self):
        environment = dict(os.environ, DISPLAY=self.display_name)
        # Wine's server and services up first, on this display, as for a player whose Wine
        # already runs: the start-up measured is then the game's own.
        subprocess.run(["wineserver", "-p", "120"], env=environment, check=False)
        subprocess.run(["wine", "cmd", "/c", "exit"], env=environment, check=False,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        # From another folder than the game's: it must find its data beside the .exe.
        elsewhere = os.path.join(self.out, "started from here")
        os.makedirs(elsewhere, exist_ok=True)
        self.output = open(os.path.join(self.out, "game.log"), "w")
        self.started = time.monotonic()
        self.game = subprocess.Popen(["wine", os.path.join(self.folder, "skarvold.exe")],
                                     cwd=elsewhere, env=environment, stdin=subprocess.DEVNULL,
                                     stdout=self.output, stderr=subprocess.STDOUT)

    def finish(self):
        if self.game is not None and self.game.poll() is None:
            self.game.kill()
            self.game.wait()
        # Only this run's Wine: its prefix is the run's own.
        subprocess.run(["wineserver", "-k"], env=dict(os.environ), stderr=subprocess.DEVNULL)
        if self.xvfb is not None:
            self.xvfb.terminate()
            self.xvfb.wait()

    # Checks

    def check(self, ok, text):
        print(("ok    " if ok else "FAIL  ") + text, flush=True)
        if not ok:
            self.failures += 1
        return ok

    def reference(self, name):
        if name not in self.reference_cache:
            self.reference_cache[name] = Image.read(os.path.join(self.references, name))
        return self.reference_cache[name]

    def keep(self, image, label):
        self.grabs += 1
        path = os.path.join(self.out, "%02d-%s.ppm" % (self.grabs, label))
        image.write_ppm(path)
        return path

    def wait_for_game_window(self, seconds):
        """The game's 800x600 window once it shows, or None."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline and self.game.poll() is None:
            for window, width, height in self.display.shown_windows("Skarvold"):
                if (width, height) == (WINDOW_WIDTH, WINDOW_HEIGHT):
                    return window
            time.sleep(0.05)
        return None

    def matches(self, image, name, regions):
        """Whether every region of `image` is within the tolerance of the reference `name`;
        answers (ok, the worst share, its region)."""
        reference = self.reference(name)
        worst, worst_region = 0.0, None
        for region in regions:
            region, reach = region if len(region) == 2 else (region, 1)
            share = best_share(image, reference, region, reach)
            if share > worst:
                worst, worst_region = share, region
        return worst <= REGION_SHARE, worst, worst_region

    def wait_for_screen(self, label, name, regions, seconds):
        """Grabs the window until the regions match the reference `name` or time is up; one
        check line either way. Answers the last picture."""
        deadline = time.monotonic() + seconds
        image = None
        while True:
            image = self.display.grab(self.window)
            if image is not None and (image.width, image.height) == (WINDOW_WIDTH, WINDOW_HEIGHT):
                ok, worst, region = self.matches(image, name, regions)
                if ok:
                    self.check(True, "%s: like %s (at most %.1f%% of a region differs)"
                               % (label, name, 100 * worst))
                    return image
            if time.monotonic() > deadline or self.game.poll() is not None:
                break
            time.sleep(0.1)
        if image is None:
            self.check(False, "%s: the window could not be read" % label)
            return None
        kept = self.keep(image, label.replace(" ", "-"))
        self.check(False, "%s: not like %s: %.1f%% of region %s differs (picture: %s)"
                   % (label, name, 100 * worst, region, kept))
        return image

    def key(self, *keys):
        subprocess.run(["xdotool", "windowfocus", str(self.window)],
                       env=dict(os.environ, DISPLAY=self.display_name), check=False)
        subprocess.run(["xdotool", "key", "--delay", "120"] + list(keys),
                       env=dict(os.environ, DISPLAY=self.display_name), check=False)
        # The game reads keys once a frame, and frames under Wine's software Direct3D take
        # tens of milliseconds.
        time.sleep(0.3)

    def wait_for_exit(self, seconds):
        try:
            return self.game.wait(timeout=seconds)
        except subprocess.TimeoutExpired:
            return None

    # The screens, region by region. The menu's backdrop is one still picture and its texts
    # stand still, so the whole window is compared, in tiles of 100 by 100 pixels: a wrong
    # highlight alone changes a fifth of a tile, where Wine's differences stay near 5%.
    WHOLE = [(left, top, left + 100, top + 100) for top in range(0, WINDOW_HEIGHT, 100)
             for left in range(0, WINDOW_WIDTH, 100)]
    # Play: the backdrop and the score stand still while the ship, the enemies and their shots
    # move where the game's random generator (seeded from the clock) sends them. The banner
    # blinks; the prompt's texts lie over a darkened scene whose objects may pass behind them.
    SCORE = (0, 0, 160, 50)
    BANNER = (250, 270, 550, 330)
    # pause.png was taken while an explosion shook the screen, which moves the texts too.
    PROMPT = ((170, 285, 630, 350), 8)

    def ship_x(self, image):
        """Where the player's ship is across the bottom band: the x at which the bright pixels
        of the ship in the "GET READY!" reference fit best, and the share of them that differ
        there."""
        reference = self.reference("get-ready.png")
        patch = (370, 515, 430, 585)  # the ship at its start, (400, 550)
        ship = [(x - patch[0], y, reference.pixel(x, y)) for y in range(patch[1], patch[3], 2)
                for x in range(patch[0], patch[2], 2) if sum(reference.pixel(x, y)) > 240]
        best_x, best_share = None, 2.0
        for left in range(0, WINDOW_WIDTH - (patch[2] - patch[0]), 2):
            differing = 0
            for dx, y, wanted in ship:
                found = image.pixel(left + dx, y)
                if max(abs(found[0] - wanted[0]), abs(found[1] - wanted[1]),
                       abs(found[2] - wanted[2])) > PIXEL_TOLERANCE:
                    differing += 1
            if differing / len(ship) < best_share:
                best_x, best_share = left + 30, differing / len(ship)
        return best_x, best_share

    # Scenarios

    def first_menu(self):
        self.window = self.wait_for_game_window(30)
        if not self.check(self.window is not None, "the game's 800x600 window shows"):
            return False
        shown = time.monotonic()
        image = self.wait_for_screen("menu", "menu.png", self.WHOLE, 15)
        if image is None or self.failures:
            return False
        print("measure start: %.2f s from launch to the window, %.2f s to the menu's picture"
              % (shown - self.started, time.monotonic() - self.started), flush=True)
        return True

    def walk(self):
        if not self.first_menu():
            return
        self.key("Down")
        self.wait_for_screen("menu, HISCORE chosen", "menu-hiscore-selected.png", self.WHOLE, 5)
        self.key("Control_L")
        self.wait_for_screen("hiscore page", "hiscore.png", self.WHOLE, 5)
        self.key("space")
        self.wait_for_screen("back in the menu", "menu-hiscore-selected.png", self.WHOLE, 5)
        self.key("Up")
        self.wait_for_screen("menu, PLAY chosen", "menu.png", self.WHOLE, 5)
        play_started = time.monotonic()
        self.key("Control_L")
        image = self.wait_for_screen("GET READY!", "get-ready.png", [self.SCORE, self.BANNER], 2)
        if image is not None:
            x, share = self.ship_x(image)
            self.check(x is not None and abs(x - 400) <= 8 and share <= 0.1,
                       "the ship waits at the bottom's middle (found at x %s, %.0f%% off)"
                       % (x, 100 * share))
        # The ship flies right while the frames are counted, still under the banner: the
        # enemies come once it is gone, and one may destroy the ship within two seconds.
        environment = dict(os.environ, DISPLAY=self.display_name)
        subprocess.run(["xdotool", "windowfocus", str(self.window)], env=environment)
        subprocess.run(["xdotool", "keydown", "Right"], env=environment)
        self.timed_frames("play, the ship flying right", 1.0)
        subprocess.run(["xdotool", "keyup", "Right"], env=environment)
        # The ship banks while it steers and glides on after the key: it is looked for once
        # it flies level again.
        deadline = time.monotonic() + 3
        while True:
            image = self.display.grab(self.window)
            x, share = self.ship_x(image)
            moved = x is not None and x >= 460 and share <= 0.15
            if moved or time.monotonic() > deadline:
                break
            time.sleep(0.2)
        if not self.check(moved, "play: the ship flew right (found at x %s, %.0f%% off)"
                          % (x, 100 * share)):
            self.keep(image, "play")
        # Paused under the banner, the blinking banner would stand dimmed behind the prompt
        # (or not, by the blink's chance): the pause comes just after it.
        time.sleep(max(0.0, play_started + 3.3 - time.monotonic()))
        self.key("Escape")
        image = self.wait_for_screen("pause prompt", "pause.png", [self.PROMPT], 5)
        if image is not None:
            # The scene behind the prompt is darkened by the overlay.
            dark = mean_brightness(image, (0, 380, WINDOW_WIDTH, WINDOW_HEIGHT))
            self.check(dark < 9, "pause: the scene behind the prompt is darkened (mean %.0f)"
                       % dark)
        self.key("space")
        self.wait_for_screen("the menu again", "menu.png", self.WHOLE, 10)
        self.key("Down", "Down", "Control_L")
        code = self.wait_for_exit(15)
        self.check(code == 0, "QUIT ends the program with exit code 0 (got %s)" % code)
        # The game says "Sound is off: ..." on stderr when no audio device opens.
        self.output.flush()
        with open(os.path.join(self.out, "game.log"), errors="replace") as log:
            said = [line.strip() for line in log if line.strip()]
        silent = [line for line in said if line.startswith("Sound is off")]
        self.check(not silent, "audio opened on the null device" + (": NOT: " + silent[0]
                                                                    if silent else ""))

    def close(self):
        if not self.first_menu():
            return
        self.key("Control_L")
        self.wait_for_screen("GET READY!", "get-ready.png", [self.SCORE, self.BANNER], 5)
        time.sleep(3.5)  # into play, enemies on their way
        self.display.close(self.window)
        code = self.wait_for_exit(15)
        self.check(code == 0, "closing the window in play ends the program with exit code 0 "
                   "(got %s)" % code)

    def no_data(self):
        box = None
        deadline = time.monotonic() + 30
        while box is None and time.monotonic() < deadline and self.game.poll() is None:
            for window, width, height in self.display.shown_windows("Skarvold"):
                if (width, height) != (WINDOW_WIDTH, WINDOW_HEIGHT):
                    box = window
            time.sleep(0.1)
        if not self.check(box is not None, "a message box titled Skarvold shows (exit code %s)"
                          % self.game.poll()):
            return
        time.sleep(0.5)  # drawn
        image = self.display.grab(box)
        path = self.keep(image, "message-box")
        big = path[:-4] + "-x3.png"
        subprocess.run(["convert", path, "-scale", "300%", big], check=True)
        text = subprocess.run(["tesseract", big, "-", "--psm", "6"], capture_output=True,
                              text=True).stdout
        flat = " ".join(text.split())
        sentence = "skarvold: no game data found: looked for a Data folder in"
        self.check(sentence.lower() in flat.lower(), "the box says \"%s ...\" (read: %r)"
                   % (sentence, flat))
        self.check(self.game.poll() is None, "the program waits while the box is up")
        subprocess.run(["xdotool", "windowfocus", str(box), "key", "Return"],
                       env=dict(os.environ, DISPLAY=self.display_name))
        code = self.wait_for_exit(15)
        self.check(code not in (None, 0), "once dismissed, the program ends non-zero (got %s)"
                   % code)

    def timed_frames(self, label, seconds=2.0):
        """Prints how often the picture changed while the game played on, grabbing as fast as
        the display allows: a figure, not a check (Wine's software Direct3D on a shared
        machine is no measure of a real one). In play something moves every frame, so while
        the grabs outpace the game the changes count its frames."""
        changes = grabs = 0
        last = None
        start = time.monotonic()
        while time.monotonic() - start < seconds:
            grabbed = self.display.grab_raw(self.window)
            grabs += 1
            if grabbed is not None and last is not None and grabbed[0] != last:
                changes += 1
            last = grabbed[0] if grabbed is not None else None
        elapsed = time.monotonic() - start
        print("measure frames (%s): %d pictures in %.1f s, %.0f ms a frame (%d grabs)"
              % (label, changes, elapsed, 1000 * elapsed / max(changes, 1), grabs), flush=True)

    def main(self):
        try:
            self.start_xvfb()
            self.start_game()
            {"walk": self.walk, "close": self.close, "no-data": self.no_data}[self.scenario]()
        finally:
            self.finish()
        return 1 if self.failures else 0


def main():
    if len(sys.argv) != 5 or sys.argv[1] not in ("walk", "close", "no-data"):
        sys.exit(__doc__)
    scenario, folder, references, out = sys.argv[1:]
    os.makedirs(out, exist_ok=True)
    try:
        sys.exit(Run(scenario, folder, references, out).main())
    except RuntimeError as error:
        print("cannot run: %s" % error, file=sys.stderr)
        sys.exit(2)


main()
