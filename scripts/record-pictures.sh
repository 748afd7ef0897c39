#!/usr/bin/env bash
# Records the reference pictures of every screen (tests/data/pictures/*.png) again from the
# game as it is now, with the sanitizer build's test program, headless:
#   scripts/record-pictures.sh [BUILD_DIR]      (default: build-check)
# Use it only after a change that is meant to alter what the screens show; then look at
# every picture before committing them.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-check}
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S . -B "$build" -DSKARVOLD_SANITIZE=ON
fi
cmake --build "$build" -j "$(nproc)" --target skarvold_tests

source scripts/headless-sanitizers.sh
(cd "$build" && SKARVOLD_RECORD_PICTURES=1 tests/skarvold_tests --gtest_filter='ScreenPictures.*')
git status --short tests/data/pictures
