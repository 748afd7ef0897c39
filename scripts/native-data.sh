#!/usr/bin/env bash
# Generates the data set natively, as the desktop build does, into build-data/Data (only the
# generator and the data, no game, tests or benchmarks), and prints that folder. The browser and
# Windows builds pack these very files.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-data
cmake -S . -B "$build" -DSKARVOLD_TESTS=OFF -DSKARVOLD_BENCH=OFF > /dev/null
cmake --build "$build" -j "$(nproc)" --target skarvold_data > /dev/null
echo "$PWD/$build/Data"
