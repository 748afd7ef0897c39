#!/usr/bin/env bash
# The long soak: builds the autoplayer with AddressSanitizer, UndefinedBehaviorSanitizer and
# leak detection (into build-soak/, or the folder SKARVOLD_SOAK_BUILD names) and has it play
# GAMES whole games (1000 unless given) headless, every frame checked and the heap watched from
# game to game, split over JOBS processes (one per core unless given) that take consecutive
# seeds from FIRST_SEED on. Prints each process's figures and the totals (games, plays, frames,
# steps, wall time, peak memory); at the first failure a process names the seed that plays the
# game again and writes its replay to failing-<first seed of that process>.replay in the build
# folder. Each process's log (soak-<first seed>.log) has a line per game as it ends. Exits 0
# only when every game passed.
#   scripts/soak.sh [GAMES] [FIRST_SEED] [JOBS]
set -euo pipefail
cd "$(dirname "$0")/.."
games=${1:-1000}
seed=${2:-1}
jobs=${3:-$(nproc)}
build=${SKARVOLD_SOAK_BUILD:-build-soak}
scripts/install-deps.sh
cmake -S . -B "$build" -DSKARVOLD_SANITIZE=ON -DSKARVOLD_BENCH=OFF -DSKARVOLD_TESTS=OFF
cmake --build "$build" -j "$(nproc)" --target skarvold_autoplay

source scripts/headless-sanitizers.sh
cd "$build"

# Frames of 50 to 100 ms, and stalls of 1 to 4 s in 8 frames of 100: the software renderer
# costs most of a frame, while a stall runs its many world steps for one drawing; plays last a
# minute at most. So a game takes about 300 frames.
logs=()
pids=()
start=$(date +%s)
for ((job = 0; job < jobs; ++job)); do
    count=$((games / jobs + (job < games % jobs ? 1 : 0)))
    ((count == 0)) && continue
    first=$((seed + job * (games / jobs) + (job < games % jobs ? job : games % jobs)))
    log=soak-$first.log
    logs+=("$log")
    timer=()
    [[ -x /usr/bin/time ]] && timer=(/usr/bin/time -f "peak resident %M KiB, cpu %U s" -o "$log.time")
    "${timer[@]}" ./skarvold_autoplay --games "$count" --seed "$first" --frames 50-100 --stalls 80 \
        --stall-length 1000-4000 --longest-play 60000 \
        --save-failing "failing-$first.replay" >"$log" 2>&1 &
    pids+=($!)
done
status=0
for pid in "${pids[@]}"; do
    wait "$pid" || status=1
done
end=$(date +%s)

for log in "${logs[@]}"; do
    echo "== $log"
    cat "$log"
    [[ -f $log.time ]] && cat "$log.time"
done
cat "${logs[@]}" | awk -v wall=$((end - start)) -v jobs="${#logs[@]}" '
    /^games / {
        gsub(",", "")
        games += $2; plays += $4; frames += $6; steps += $8
    }
    END {
        printf "total: %d games, %d plays, %d frames, %d steps in %d processes, wall %d s\n",
            games, plays, frames, steps, jobs, wall
    }'
exit $status
