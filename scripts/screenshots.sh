#!/usr/bin/env bash
# Plays the real game under a virtual X display and saves pictures of it into docs/:
# menu, hiscore page, "GET READY!", play, pause prompt, "GAME OVER!" and a short animated GIF.
#   scripts/screenshots.sh [BUILD_DIR] [OUT_DIR]     (defaults: build, docs)
# The game is driven with xdotool key events; every run plays a different game (the game seeds
# its random generator from the clock), so the pictures differ from run to run.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/game-under-x.sh
build=$(realpath -m "${1:-build}")
out=$(realpath -m "${2:-docs}")

# --- tools -------------------------------------------------------------------------------------
declare -A provider=([Xvfb]=xvfb [xwininfo]=x11-utils [xwd]=x11-apps [xdotool]=xdotool
  [convert]=imagemagick [python3]=python3)
fps=10 # frames a second of the recording, at most
missing=()
for tool in "${!provider[@]}"; do
  command -v "$tool" >/dev/null 2>&1 || missing+=("${provider[$tool]}")
done
if [[ ${#missing[@]} -gt 0 ]]; then
  echo "Installing: ${missing[*]}"
  install_packages "${missing[@]}"
fi

# --- the game ----------------------------------------------------------------------------------
if [[ ! -x "$build/skarvold" || ! -d "$build/Data" ]]; then
  scripts/install-deps.sh
  cmake -S . -B "$build" -DSKARVOLD_TESTS=OFF -DSKARVOLD_BENCH=OFF
  cmake --build "$build" -j "$(nproc)"
fi

# --- a display of our own ----------------------------------------------------------------------
DISPLAY=$(free_display 99)
export DISPLAY
work=$(mktemp -d)
pids=()
xvfb=""
cleanup() {
  for pid in "${pids[@]}" $xvfb; do
    kill "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

start_xvfb "$DISPLAY" "$work/xvfb.log"

(cd "$build" && SDL_AUDIODRIVER=dummy exec ./skarvold) >"$work/game.log" 2>&1 &
game=$!
pids+=("$game")

window=$(wait_for_window Skarvold 30)
if [[ -z "$window" ]]; then
  echo "The game's window did not appear" >&2
  cat "$work/game.log" >&2
  exit 1
fi
# Once the menu has had time to load its images, the window that is shown then.
sleep 3
window=$(viewable_window Skarvold)
# Focused, the window gets the key events as a player's would.
xdotool windowfocus "$window" || true

mkdir -p "$out"
key() { xdotool key --window "$window" "$@"; }
down() { xdotool keydown --window "$window" "$@"; }
up() { xdotool keyup --window "$window" "$@"; }
# Grabs the window as it is now into a raw dump; shot turns a dump into a small PNG.
grab() { xwd -silent -id "$window" >"$1"; }
shot() {
  grab "$work/shot.xwd"
  convert "xwd:$work/shot.xwd" -strip "png:$out/$1.png"
  echo "saved $out/$1.png"
}

# --- the menu and the hiscore page --------------------------------------------------------------
shot menu
key Down
sleep 0.3
key Control_L
sleep 2.5 # the table's rows fade in one after another
shot hiscore
key space
sleep 0.3
key Up
sleep 0.3

# --- play, pause and game over, recorded as frames -----------------------------------------------
# The game is recorded from the moment PLAY is taken until it is back in the menu; the pictures
# are picked from the frames afterwards, by what they show.
frames=$work/frames
mkdir -p "$frames"
record_seconds=30
python3 scripts/grab-frames.py "$window" "$record_seconds" "$fps" "$frames" >"$work/grab.txt" &
recorder=$!
pids+=("$recorder")
# Times below are seconds since the first recorded frame.
for _ in $(seq 300); do
  [[ -e "$frames/0000.bgra" ]] && break
  sleep 0.05
done
recording_began=$(date +%s.%N)
elapsed() { awk -v a="$recording_began" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }'; }
sleep 1
# Glides to each side named in turn, firing all the time.
glide() {
  down Control_L
  for direction in "$@"; do
    down "$direction"
    sleep 0.5
    up "$direction"
    sleep 0.3
  done
  up Control_L
}
started_at=$(elapsed)
key Control_L
# From side to side through "GET READY!" and the first enemies, a pause, then on.
glide Left Right Right Left
paused_at=$(elapsed)
key Escape
sleep 3
key Escape
glide Right Left Left Right
# Then it stands still: destroyed, it waits two seconds for "GAME OVER!" and five for the menu.
wait "$recorder" || true

read -r count seconds width height <"$work/grab.txt"
rate=$(awk -v n="$count" -v s="$seconds" 'BEGIN { printf "%.2f", n / s }')
echo "recorded $count frames in $seconds s ($rate per second)"
frame_file() { printf '%s/%04d.bgra' "$frames" "$1"; }
raw() { echo "-size ${width}x${height} -depth 8 bgra:$(frame_file "$1") -alpha off"; }
at() { awk -v r="$rate" -v t="$1" 'BEGIN { printf "%d", r * t }'; }
# Prints the index of the frame from FIRST to LAST (excluded) where the fx expression EXPR,
# averaged over a small copy of the frame, is largest.
pick() {
  local first=$1 last=$2 expr=$3 best=$1 best_value=-1 value i
  ((last > count)) && last=$count
  for ((i = first; i < last; i++)); do
    # shellcheck disable=SC2046
    value=$(convert $(raw "$i") -scale 160x120 -fx "$expr" -format '%[fx:mean]' info:)
    if awk -v a="$value" -v b="$best_value" 'BEGIN { exit !(a > b) }'; then
      best=$i
      best_value=$value
    fi
  done
  echo "$best $best_value"
}
save() {
  # shellcheck disable=SC2046
  convert $(raw "$2") -strip "png:$out/$1.png"
  echo "saved $out/$1.png (frame $2)"
}
start=$(at "$started_at")
pause=$(at "$(awk -v t="$paused_at" 'BEGIN { print t + 2 }')")
# "GET READY!" is blue and blinks: the frame of the first four seconds with the most of its blue.
read -r ready _ < <(pick "$start" "$((start + $(at 3)))" 'b>0.9 && r<0.4 && g>0.4 && g<0.6 ? 1 : 0')
save get-ready "$ready"
save pause "$pause"
# "GAME OVER!" darkens the field to red: the reddest frame after the pause.
read -r over _ < <(pick "$((pause + $(at 3)))" "$count" 'r - b')
save game-over "$over"
# Play: the frame with the most fire-coloured pixels (a burst with its debris), after "GET
# READY!", before or after the pause and before "GAME OVER!".
fire='r>0.9 && g>0.55 && b<0.5 ? 1 : 0'
read -r play before < <(pick "$((start + $(at 4)))" "$((pause - $(at 2)))" "$fire")
read -r later after < <(pick "$((pause + $(at 2)))" "$((over - $(at 3)))" "$fire")
if awk -v a="$after" -v b="$before" 'BEGIN { exit !(a > b) }'; then
  play=$later
fi
save play "$play"

# Four seconds of play around the play picture, scaled to 400x300, each frame shown as long as
# it really lasted.
span=$(at 4)
first=$((play - span / 2))
((first < start)) && first=$start
delay=$(awk -v r="$rate" 'BEGIN { printf "%d", 100 / r + 0.5 }')
selection=()
for ((i = first; i < first + span && i < count; i++)); do
  # shellcheck disable=SC2207
  selection+=($(raw "$i"))
done
convert -delay "$delay" "${selection[@]}" -resize 400x300 -fuzz 2% -layers Optimize -loop 0 \
  "$out/play.gif"
echo "saved $out/play.gif ($(stat -c %s "$out/play.gif") bytes, $span frames)"
