#!/usr/bin/env bash
# Measures how soon the game shows its first picture, as a person would see it: the game runs
# in a real window on a private Xvfb display, which a watcher photographs again and again until
# the picture is no longer black.
#   scripts/measure-start.sh [--audio dummy|default] [--pictures DIR] [BUILD_DIR [RUNS]]
#       defaults: the audio driver the system picks, build, 5 runs
# Each run starts BUILD_DIR/skarvold from BUILD_DIR (where Data/ lies) and notes
#   window:  when a window named "Skarvold" is first viewable, from the program's start;
#   picture: when the first photograph of that window that is not all black was taken.
# A moment is the middle of the X requests that saw it; the watch photographs a band across the
# middle of the window (see watch.py). One run before the measured ones warms
# the disk cache and is not counted. Prints every run, the photographs' spacing (a figure is
# only as fine as that) and the machine's load, then the medians of start to window, window to
# picture and start to picture. --pictures keeps each run's first picture there as a PNG.
#
# The watcher is one X client that stays connected (a small Python program on Xlib): a new
# client for every photograph, as with xwd, costs more than the photograph itself, since the
# server answers connections that follow each other closely only after 20 to 200 ms. The
# watcher starts the game itself once it is ready to look, so that its own start-up (some
# 55 ms of processor time, a search of the library cache included) does not compete with the
# game's; the game's start is the moment right before it is spawned.
set -euo pipefail
export LC_ALL=C
cd "$(dirname "$0")/.."

audio=""
pictures=""
while [[ "${1:-}" == --* ]]; do
  case "$1" in
    --audio)
      case "${2:-}" in
        dummy) audio=dummy ;;
        default) audio="" ;;
        *) echo "--audio takes dummy or default" >&2; exit 2 ;;
      esac
      shift 2
      ;;
    --pictures)
      pictures="${2:?--pictures needs a folder}"
      mkdir -p "$pictures"
      shift 2
      ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
  esac
done
build="${1:-build}"
runs="${2:-5}"

source scripts/game-under-x.sh
require_built_game "$build"

# Xvfb and the system's Python 3 (a Python of a version manager would start too slowly to
# see the window come), installed when missing.
python=/usr/bin/python3
need=()
command -v Xvfb >/dev/null || need+=(xvfb)
[[ -x $python ]] || need+=(python3)
[[ ${#need[@]} -gt 0 ]] && install_packages "${need[@]}"

display=$(free_display 150)
work=$(mktemp -d)

xvfb=""
cleanup() {
  if [[ -n "$xvfb" ]]; then
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

start_xvfb "$display" "$work/xvfb.log"

cat >"$work/watch.py" <<'PYTHON'
# Usage: watch.py DISPLAY GAME_DIR ERR_FILE [PNG]. Starts GAME_DIR/skarvold in GAME_DIR, with
# this program's environment and its stderr in ERR_FILE, waits for the viewable window named
# Skarvold, then photographs it until a photograph is not all black. Prints "WINDOW_US
# PICTURE_US SPACING_US" (from the game's start) and writes that photograph to PNG if given.
# Ends the game (SIGTERM, then SIGKILL after 2 s) before it exits. Exits non-zero, saying
# why, when nothing comes within 10 s.
import ctypes
import ctypes.util
import os
import signal
import struct
import sys
import time
import zlib

Window = ctypes.c_ulong
IS_VIEWABLE = 2
Z_PIXMAP = 2
# The colour bits only: what the server puts in the fourth byte of a pixel is then always 0.
COLOUR_PLANES = 0xFFFFFF
# Rest between two requests, so that the watcher does not take from the game and the server
# the processor time whose use it measures; a figure is only as fine as this (1 ms).
REST = 0.001


class XWindowAttributes(ctypes.Structure):
    _fields_ = [
        ("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
        ("height", ctypes.c_int), ("border_width", ctypes.c_int), ("depth", ctypes.c_int),
        ("visual", ctypes.c_void_p), ("root", Window), ("window_class", ctypes.c_int),
        ("bit_gravity", ctypes.c_int), ("win_gravity", ctypes.c_int),
        ("backing_store", ctypes.c_int), ("backing_planes", ctypes.c_ulong),
        ("backing_pixel", ctypes.c_ulong), ("save_under", ctypes.c_int),
        ("colormap", ctypes.c_ulong), ("map_installed", ctypes.c_int),
        ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
        ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
        ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


class XImage(ctypes.Structure):  # the leading fields, as far as they are read here
    _fields_ = [
        ("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
        ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
        ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int),
        ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int),
        ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int)]


x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = Window
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XQueryTree.argtypes = [ctypes.c_void_p, Window, ctypes.POINTER(Window),
                           ctypes.POINTER(Window), ctypes.POINTER(ctypes.POINTER(Window)),
                           ctypes.POINTER(ctypes.c_uint)]
x11.XFetchName.argtypes = [ctypes.c_void_p, Window, ctypes.POINTER(ctypes.c_char_p)]
x11.XGetWindowAttributes.argtypes = [ctypes.c_void_p, Window,
                                     ctypes.POINTER(XWindowAttributes)]
x11.XGetImage.restype = ctypes.POINTER(XImage)
x11.XGetImage.argtypes = [ctypes.c_void_p, Window, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                          ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
x11.XFree.argtypes = [ctypes.c_void_p]
# A window that goes away between two requests must not end the watch.
IGNORE_ERRORS = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(
    lambda display, error: 0)
x11.XSetErrorHandler(IGNORE_ERRORS)

display = x11.XOpenDisplay(sys.argv[1].encode())
if not display:
    sys.exit("cannot open display " + sys.argv[1])
root = x11.XDefaultRootWindow(display)
picture_path = os.path.abspath(sys.argv[4]) if len(sys.argv) > 4 else None


def now():
    return time.time() - start


def game_window():
    """(window, width, height) of the viewable top-level window named Skarvold, or None."""
    root_return, parent = Window(), Window()
    children = ctypes.POINTER(Window)()
    count = ctypes.c_uint()
    if not x11.XQueryTree(display, root, ctypes.byref(root_return), ctypes.byref(parent),
                          ctypes.byref(children), ctypes.byref(count)):
        return None
    found = None
    for i in range(count.value):
        name = ctypes.c_char_p()
        if not x11.XFetchName(display, children[i], ctypes.byref(name)):
            continue
        named = name.value == b"Skarvold"
        x11.XFree(name)
        attributes = XWindowAttributes()
        if named and x11.XGetWindowAttributes(display, children[i], ctypes.byref(attributes)) \
                and attributes.map_state == IS_VIEWABLE:
            found = (children[i], attributes.width, attributes.height)
    if children:
        x11.XFree(children)
    return found


def photograph(window, width, height, top=0, rows=None):
    """The window's pixels as the server keeps them, four bytes each (blue, green, red and
    a zero), row after row, from row `top` for `rows` rows (all by default); None when the
    server gives none."""
    height = height - top if rows is None else rows
    image = x11.XGetImage(display, window, 0, top, width, height, COLOUR_PLANES, Z_PIXMAP)
    if not image:
        return None
    shape = image.contents
    if shape.bits_per_pixel != 32 or shape.bytes_per_line != width * 4:
        sys.exit("the display must be 24-bit colour")
    data = ctypes.string_at(shape.data, shape.bytes_per_line * shape.height)
    x11.XFree(shape.data)
    x11.XFree(image)
    return data


def lit(pixels):
    return pixels.count(0) != len(pixels)


def write_png(path, pixels, width, height):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + \
            struct.pack(">I", zlib.crc32(kind + body))
    rgb = bytearray(width * height * 3)
    rgb[0::3], rgb[1::3], rgb[2::3] = pixels[2::4], pixels[1::4], pixels[0::4]
    rows = b"".join(b"\0" + rgb[y * width * 3:(y + 1) * width * 3] for y in range(height))
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                  chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def end_game(game):
    os.kill(game, signal.SIGTERM)
    for _ in range(20):
        if os.waitpid(game, os.WNOHANG)[0] == game:
            return
        time.sleep(0.1)
    os.kill(game, signal.SIGKILL)
    os.waitpid(game, 0)


def ended(game):
    """Whether the game has exited, leaving it to be reaped by end_game."""
    return os.waitid(os.P_PID, game, os.WEXITED | os.WNOHANG | os.WNOWAIT) is not None


def watch(game):
    """(window_at, picture_at, spacing, found) of the game started at `start`."""
    while True:
        before = now()
        found = game_window()
        after = now()
        if found:
            window_at = (before + after) / 2
            break
        if ended(game):
            sys.exit("the game ended before its window opened")
        if after > 10:
            sys.exit("no window named Skarvold")
        time.sleep(REST)

    # The watch photographs a band of an eighth of the window across its middle: a whole
    # photograph takes long enough that a picture would be seen up to 30 ms late. A picture lit
    # only outside the band is seen later, never sooner.
    shots = []
    while True:
        window, width, height = found
        before = now()
        pixels = photograph(window, width, height, height * 7 // 16, max(height // 8, 1))
        after = now()
        if pixels:
            shots.append((before + after) / 2)
        if pixels and lit(pixels):
            break
        if ended(game):
            sys.exit("the game ended before its picture came")
        if after > 10:
            sys.exit("the window stayed black" if pixels else "the window went away")
        if not pixels:  # replaced by a window of its own (SDL may do so for OpenGL)
            found = game_window() or found
        time.sleep(REST)

    spacing = (shots[-1] - shots[0]) / max(len(shots) - 1, 1)
    return window_at, shots[-1], spacing, found


os.chdir(sys.argv[2])
errors = os.open(sys.argv[3], os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
start = time.time()
game = os.posix_spawn("./skarvold", ["./skarvold"], os.environ, file_actions=[
    (os.POSIX_SPAWN_OPEN, 1, os.devnull, os.O_WRONLY, 0),
    (os.POSIX_SPAWN_DUP2, errors, 2)])
try:
    window_at, picture_at, spacing, found = watch(game)
    print(int(window_at * 1e6), int(picture_at * 1e6), int(spacing * 1e6))
    if picture_path:
        whole = photograph(*found)
        if whole:
            write_png(picture_path, whole, found[1], found[2])
finally:
    end_game(game)
PYTHON

# Seconds with three decimals from microseconds.
seconds() {
  printf '%d.%03d' $(($1 / 1000000)) $((($1 % 1000000) / 1000))
}

# One start of the game; sets window_us, picture_us and spacing_us.
measure_once() {
  local result
  if ! result=$(env -u WAYLAND_DISPLAY DISPLAY="$display" SDL_VIDEODRIVER=x11 \
    ${audio:+SDL_AUDIODRIVER=$audio} \
    $python "$work/watch.py" "$display" "$build" "$work/game.err" ${1:+"$1"}); then
    echo "the game's stderr: $(head -c 300 "$work/game.err")" >&2
    return 1
  fi
  read -r window_us picture_us spacing_us <<<"$result"
}

median() {
  printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

echo "display $display, audio driver ${audio:-as the system picks}, $runs runs of $build/skarvold"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
measure_once || exit 1 # warms the disk cache; not counted

windows=() pictures_us=() gaps=()
for run in $(seq "$runs"); do
  measure_once ${pictures:+"$pictures/run-$run.png"} || exit 1
  windows+=("$window_us")
  pictures_us+=("$picture_us")
  gaps+=($((picture_us - window_us)))
  echo "run $run: window $(seconds "$window_us") s, picture $(seconds "$picture_us") s" \
    "(window to picture $(seconds $((picture_us - window_us))) s, photographs" \
    "every $(seconds "$spacing_us") s)"
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "median start to window:    $(seconds "$(median "${windows[@]}")") s"
echo "median window to picture:  $(seconds "$(median "${gaps[@]}")") s"
echo "median start to picture:   $(seconds "$(median "${pictures_us[@]}")") s"
