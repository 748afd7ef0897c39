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
