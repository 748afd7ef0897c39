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
# With PLAYER "skilled" the games are the skilled player's (200 unless given): each plays on to
# the 10-minute end of play or the ship's end, without drawing, and the totals add the spread
# of survival and score, the causes of the ships' ends and the largest scene.
#   scripts/soak.sh [GAMES] [FIRST_SEED] [JOBS] [PLAYER]
set -euo pipefail
cd "$(dirname "$0")/.."
player=${4:-random}
if [[ $player == skilled ]]; then
    games=${1:-200}
    # A long game's many frames cost little without drawing; its heap is watched from game to
    # game all the same.
    playing=(--player skilled --no-drawing)
else
    games=${1:-1000}
    # Frames of 50 to 100 ms, and stalls of 1 to 4 s in 8 frames of 100: the software renderer
    # costs most of a frame, while a stall runs its many world steps for one drawing; plays last
    # a minute at most. So a game takes about 300 frames.
    playing=(--frames 50-100 --stalls 80 --stall-length 1000-4000 --longest-play 60000)
fi
seed=${2:-1}
jobs=${3:-$(nproc)}
build=${SKARVOLD_SOAK_BUILD:-build-soak}
scripts/install-deps.sh
cmake -S . -B "$build" -DSKARVOLD_SANITIZE=ON -DSKARVOLD_BENCH=OFF -DSKARVOLD_TESTS=OFF
cmake --build "$build" -j "$(nproc)" --target skarvold_autoplay

source scripts/headless-sanitizers.sh
cd "$build"

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
    "${timer[@]}" ./skarvold_autoplay --games "$count" --seed "$first" "${playing[@]}" \
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
if [[ $player == skilled ]]; then
    # Each game line of a skilled game: "..., survived S s, score N, destroyed by CAUSE, at most
    # E enemies, H enemy shots, O objects".
    cat "${logs[@]}" | awk '
        /^game .* survived / {
            line = $0
            sub(/.* survived /, "", line); split(line, f, " ")
            survival[n] = f[1]; played += f[1]
            line = $0; sub(/.* score /, "", line); split(line, g, ","); score[n] = g[1] + 0
            if ($0 ~ /not destroyed/) whole++
            else { line = $0; sub(/.* destroyed by /, "", line); sub(/,.*/, "", line); causes[line]++ }
            line = $0; sub(/.* at most /, "", line); split(line, h, " ")
            if (h[1] > enemies) enemies = h[1]
            if (h[3] > shots) shots = h[3]
            if (h[6] > objects) objects = h[6]
            n++
        }
        function pct(a, p,   i, j, t, k) {
            for (i = 0; i < n; i++) s[i] = a[i]
            for (i = 1; i < n; i++) { t = s[i]; for (j = i - 1; j >= 0 && s[j] > t; j--) s[j + 1] = s[j]; s[j + 1] = t }
            k = int(p * n + 0.999999) - 1; if (k < 0) k = 0
            return s[k]
        }
        END {
            if (n == 0) exit
            printf "skilled: %d games, %.1f minutes of play, %d to the end of play;", n, played / 60, whole
            for (c in causes) printf " %d destroyed by %s;", causes[c], c
            printf "\n  survival 10th/50th/90th percentile %.1f / %.1f / %.1f s, score %d / %d / %d\n",
                pct(survival, 0.1), pct(survival, 0.5), pct(survival, 0.9),
                pct(score, 0.1), pct(score, 0.5), pct(score, 0.9)
            printf "  largest scene: %d enemies, %d enemy shots, %d objects\n", enemies, shots, objects
        }'
fi
exit $status
