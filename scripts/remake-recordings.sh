#!/usr/bin/env bash
# After a change meant to alter play (a new kind of enemy, another draw of the spawner, a
# changed rule), makes every committed recording again in one go:
#   scripts/remake-recordings.sh [BUILD_DIR]      (default: build-check)
# - every replay in tests/data/replays/ and its step hashes, from the recipe in its note
#   (skarvold_autoplay --remake --seeds 100); a replay whose recipe no longer shows what it is
#   there to show gets the first of the next seeds that does, written into its recipe; when
#   none of 100 does, it is named with the property, left as it was, and the script fails;
# - the reference pictures, after searching for the picture game's seed
#   (scripts/record-pictures.sh).
# Then look at the pictures and at what changed (git diff --stat tests/data) before committing.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-check}
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S . -B "$build" -DSKARVOLD_SANITIZE=ON
fi
cmake --build "$build" -j "$(nproc)" --target skarvold_autoplay skarvold_tests

source scripts/headless-sanitizers.sh
replays=("$PWD"/tests/data/replays/*.replay)
status=0
(cd "$build" && ./skarvold_autoplay --remake "${replays[@]}" --seeds 100) || status=1
scripts/record-pictures.sh "$build" || status=1
git status --short tests/data/replays
if [[ $status -ne 0 ]]; then
  echo "remake-recordings: FAILED, see above" >&2
fi
exit $status
