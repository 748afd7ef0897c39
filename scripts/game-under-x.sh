# Sourced by the scripts that start the game on a private Xvfb display.

# Exits with 2, saying how to build it, unless folder $1 holds a built game and its data set.
require_built_game() {
  if [[ ! -x "$1/skarvold" || ! -d "$1/Data" ]]; then
    echo "no game in $1/: build it first, e.g." >&2
    echo "  cmake -S . -B $1 && cmake --build $1 --target skarvold" >&2
    exit 2
  fi
}

# Prints ":N" for the first display number from $1 on that no X server uses.
free_display() {
  local number=$1
  while [[ -e /tmp/.X11-unix/X$number || -e /tmp/.X$number-lock ]]; do
    number=$((number + 1))
  done
  echo ":$number"
}

# Ends the game whose process id is in $game, and clears $game: SIGTERM first (SDL turns it
# into a quit request), then by force after 2 s.
end_game() {
  kill "$game" 2>/dev/null || true
  for _ in $(seq 20); do
    kill -0 "$game" 2>/dev/null || break
    sleep 0.1
  done
  kill -KILL "$game" 2>/dev/null || true
  wait "$game" 2>/dev/null || true
  game=""
}

# Installs the Debian packages named, as root or through sudo, without questions.
install_packages() {
  local as_root=()
  [[ $(id -u) -ne 0 ]] && as_root=(sudo)
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" \
    apt-get install -y -q --no-install-recommends "$@"
}

# Starts Xvfb on display $1 (1024x768, 24-bit colour), its output in file $2, and sets $xvfb
# to its process id; waits up to 5 s for its socket, or exits 2 showing that output.
start_xvfb() {
  Xvfb "$1" -screen 0 1024x768x24 -nolisten tcp >"$2" 2>&1 &
  xvfb=$!
  local socket=/tmp/.X11-unix/X${1#:}
  for _ in $(seq 50); do
    [[ -S $socket ]] && return
    sleep 0.1
  done
  echo "Xvfb did not start on $1:" >&2
  cat "$2" >&2
  exit 2
}

# Starts Xvfb (1024x768, 24-bit colour) on a display number it finds free itself, so that
# checks running side by side never race for one, its output in file $1; sets $xvfb to its
# process id and $xvfb_display to ":N". Waits up to 10 s for it to take connections, or
# exits 2 showing that output.
start_xvfb_anywhere() {
  local number_file=$1.display number
  : >"$number_file"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number_file" >"$1" 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do
    # Xvfb writes the number and a newline once it takes connections; `read` wants both.
    if read -r number <"$number_file"; then
      xvfb_display=":$number"
      return
    fi
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.1
  done
  echo "Xvfb did not start:" >&2
  cat "$1" >&2
  exit 2
}

# Prints the id of the viewable top-level window named $1 on $DISPLAY, or nothing. The game
# may create its window more than once while the renderer starts: only the shown one counts.
viewable_window() {
  local id
  for id in $(xwininfo -root -tree 2>/dev/null | awk -v name="\"$1\":" 'index($0, name) { print $1 }'); do
    if xwininfo -id "$id" 2>/dev/null | grep -q 'IsViewable'; then
      echo "$id"
      return
    fi
  done
}

# Prints the id of the viewable window named $1 as soon as there is one, waiting up to $2
# seconds while the process $game runs; prints nothing when none comes.
wait_for_window() {
  local window=""
  for _ in $(seq $(($2 * 10))); do
    window=$(viewable_window "$1")
    [[ -n $window ]] && break
    kill -0 "$game" 2>/dev/null || break
    sleep 0.1
  done
  echo "$window"
}
