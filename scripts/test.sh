#!/usr/bin/env bash
# Installs what is missing, checks that every include follows the layers, fuzzes the replay
# reader for a few seconds, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-check/, and runs every test headless, the checks on the
# sources among them (include layers, field initialisers).
# Any sanitizer report, leaks included, fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --tests
# Cheap, so it fails before the long build; ctest runs it again with the other checks.
scripts/check-includes.sh
# The replay reader under libFuzzer for a few seconds, from its own small build in build-fuzz/.
scripts/fuzz-replays.sh 15
cmake -S . -B build-check -DSKARVOLD_SANITIZE=ON
cmake --build build-check -j "$(nproc)"

source scripts/headless-sanitizers.sh
ctest --test-dir build-check --output-on-failure -j "$(nproc)"
scripts/test-windows.sh # the Windows zip, cross-built and played under Wine
scripts/test-web.sh # the browser build, walked in headless Chromium
