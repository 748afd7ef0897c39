#!/usr/bin/env bash
# Installs what is missing, builds the game and its data set into build/, and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DSKARVOLD_TESTS=OFF -DSKARVOLD_BENCH=OFF
cmake --build build -j "$(nproc)"
cd build
exec ./skarvold
