#!/usr/bin/env bash
# Installs what is missing, checks that every include follows the layers, builds everything
# with AddressSanitizer and UndefinedBehaviorSanitizer into build-check/, and runs every test
# headless, the checks on the sources among them (include layers, field initialisers).
# Any sanitizer report, leaks included, fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --tests
# Cheap, so it fails before the long build; ctest runs it again with the other checks.
scripts/check-includes.sh
cmake -S . -B build-check -DSKARVOLD_SANITIZE=ON
cmake --build build-check -j "$(nproc)"

export SDL_VIDEODRIVER="${SDL_VIDEODRIVER:-offscreen}"
export SDL_RENDER_DRIVER="${SDL_RENDER_DRIVER:-software}"
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
ctest --test-dir build-check --output-on-failure -j "$(nproc)"
