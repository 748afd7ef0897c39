#!/usr/bin/env bash
# The long soak: builds the game with AddressSanitizer, UndefinedBehaviorSanitizer and leak
# detection into build-soak/ and has the autoplayer play GAMES whole games (1000 unless given)
# headless in one process, every frame checked, the heap watched from game to game. Prints the
# figures (games, plays, frames, steps, wall time, peak memory) and, at the first failure, the
# seed that reproduces it; the failing game's replay goes to build-soak/failing.replay.
#   scripts/soak.sh [GAMES] [FIRST_SEED]
set -euo pipefail
cd "$(dirname "$0")/.."
games=${1:-1000}
seed=${2:-1}
scripts/install-deps.sh --tests
cmake -S . -B build-soak -DSKARVOLD_SANITIZE=ON -DSKARVOLD_BENCH=OFF -DSKARVOLD_TESTS=OFF
cmake --build build-soak -j "$(nproc)" --target skarvold_autoplay

export SDL_VIDEODRIVER="${SDL_VIDEODRIVER:-offscreen}"
export SDL_RENDER_DRIVER="${SDL_RENDER_DRIVER:-software}"
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
cd build-soak
time_command=()
[[ -x /usr/bin/time ]] && time_command=(/usr/bin/time -f "wall %e s, peak resident %M KiB, cpu %U s user %S s system")
"${time_command[@]}" ./skarvold_autoplay --games "$games" --seed "$seed" --quiet \
    --save-failing failing.replay
