#!/usr/bin/env bash
# Records the reference pictures of every screen (tests/data/pictures/*.png) again from the
# game as it is now, headless, with the test program of any build folder:
#   scripts/record-pictures.sh [BUILD_DIR]      (default: build-check)
# A missing folder is configured as the test command's sanitizer build. Every build draws the
# same pixels, so any build with the tests records the same pictures; one configured without
# them (-DSKARVOLD_TESTS=OFF) cannot, and is refused.
# First it searches for the picture game's seed: the first from the one in
# tests/data/pictures/seed.txt under which the scripted pilot meets every moment of play the
# pictures need (up to 100 seeds), and writes it there. Use it only after a change that is meant
# to alter what the screens show or how play goes; then look at every picture before
# committing them.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-check}
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S . -B "$build" -DSKARVOLD_SANITIZE=ON
elif grep -q '^SKARVOLD_TESTS:BOOL=OFF' "$build/CMakeCache.txt"; then
  echo "record-pictures: $build is configured without the tests (-DSKARVOLD_TESTS=OFF);" \
    "the pictures are drawn by the test program: configure it with -DSKARVOLD_TESTS=ON" >&2
  exit 1
fi
cmake --build "$build" -j "$(nproc)" --target skarvold_tests

source scripts/headless-sanitizers.sh
(cd "$build" && SKARVOLD_RECORD_PICTURES=1 tests/skarvold_tests --gtest_filter='ScreenPictures.*')
git status --short tests/data/pictures
