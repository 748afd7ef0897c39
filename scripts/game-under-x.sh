# Sourced by the scripts that start the game on a private Xvfb display.

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
