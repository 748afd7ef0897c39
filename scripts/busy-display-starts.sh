#!/usr/bin/env bash
# Starts the game again and again on a busy X display and counts the starts that opened their
# window. The display is a private Xvfb; while the game starts, another X client connects and
# disconnects every 100 ms (as window tools, screen readers and panels do) and one core is kept
# busy.
#   scripts/busy-display-starts.sh [BUILD_DIR [STARTS]]     defaults: build 100
# Each start runs BUILD_DIR/skarvold from BUILD_DIR (where Data/ lies), waits up to 5 s for the
# "Skarvold" window to appear, then ends the game. Prints "N of STARTS starts opened their
# window" and exits 0 only when all of them did.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
starts="${2:-100}"

source scripts/game-under-x.sh
require_built_game "$build"

# Xvfb and xwininfo, installed when missing.
if ! command -v Xvfb >/dev/null || ! command -v xwininfo >/dev/null; then
  install_packages xvfb x11-utils
fi

display=$(free_display 140)
logs=$(mktemp -d)

helpers=()
game=""
xvfb=""

cleanup() {
  [[ -n "$game" ]] && end_game
  for pid in "${helpers[@]}" $xvfb; do
    kill "$pid" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  rm -rf "$logs"
}
trap cleanup EXIT

start_xvfb "$display" "$logs/xvfb.log"

# The other client, and the busy core.
(while :; do
  xwininfo -root -display "$display" >/dev/null 2>&1 || true
  sleep 0.1
done) &
helpers+=($!)
yes >/dev/null &
helpers+=($!)

# Answers 0 when the game's window is on the display.
window_shown() {
  xwininfo -root -tree -display "$display" 2>/dev/null | grep -q '"Skarvold"'
}

opened=0
for start in $(seq "$starts"); do
  (cd "$build" && exec env -u SDL_VIDEODRIVER -u WAYLAND_DISPLAY DISPLAY="$display" ./skarvold) \
    >/dev/null 2>"$logs/start-$start.err" &
  game=$!
  shown=0
  for _ in $(seq 50); do
    if window_shown; then
      shown=1
      break
    fi
    kill -0 "$game" 2>/dev/null || break # it gave up
    sleep 0.1
  done
  end_game
  if [[ $shown -eq 1 ]]; then
    opened=$((opened + 1))
  else
    echo "start $start did not open its window: $(head -c 300 "$logs/start-$start.err")"
  fi
done

echo "$opened of $starts starts opened their window"
[[ $opened -eq $starts ]]
