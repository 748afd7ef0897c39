#!/usr/bin/env bash
# Fuzzes the replay reader with libFuzzer: builds the fuzz target alone with clang-14 into
# build-fuzz/ and feeds it mutations of the committed replays for SECONDS (default 600).
#   scripts/fuzz-replays.sh [SECONDS] [-- LIBFUZZER_OPTION ...]
#   scripts/fuzz-replays.sh --coverage    lines of the reader that the corpus reaches (llvm-14)
# What it learns stays in build-fuzz/corpus/ and makes the next run start from there. A crash,
# a hang (10 s on one input), a refusal that is not one short printable line, a replay that
# does not read back as itself, or more than 256 MB in one allocation stops it, with the input
# written to build-fuzz/artifacts/; build-fuzz/skarvold_fuzz_replay FILE plays it again.
# Ends with the executions and the coverage reached (edges of the reader and the target).
set -euo pipefail
cd "$(dirname "$0")/.."

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build-fuzz -DSKARVOLD_FUZZ=ON -DCMAKE_C_COMPILER=clang-14 \
  -DCMAKE_CXX_COMPILER=clang++-14 "${launcher[@]}" >/dev/null
mkdir -p build-fuzz/corpus build-fuzz/artifacts

if [[ "${1:-}" == "--coverage" ]]; then
  cmake --build build-fuzz -j "$(nproc)" --target skarvold_fuzz_replay_coverage
  profile=build-fuzz/coverage
  rm -rf "$profile" && mkdir -p "$profile"
  LLVM_PROFILE_FILE="$profile/%p.profraw" build-fuzz/skarvold_fuzz_replay_coverage -runs=0 \
    build-fuzz/corpus tests/data/replays >"$profile/run.log" 2>&1
  llvm-profdata-14 merge -o "$profile/merged.profdata" "$profile"/*.profraw
  llvm-cov-14 report build-fuzz/skarvold_fuzz_replay_coverage \
    -instr-profile="$profile/merged.profdata" tools/autoplay/Replay.cpp
  exit 0
fi

seconds=${1:-600}
[[ $# -gt 0 ]] && shift
[[ "${1:-}" == "--" ]] && shift
cmake --build build-fuzz -j "$(nproc)" --target skarvold_fuzz_replay
log=build-fuzz/fuzz.log
status=0
# The first folder takes what the run learns; the committed replays are only read.
nice build-fuzz/skarvold_fuzz_replay build-fuzz/corpus tests/data/replays \
  -dict=tools/fuzz/replay.dict -max_total_time="$seconds" -max_len=8192 -timeout=10 \
  -rss_limit_mb=1024 -malloc_limit_mb=256 -artifact_prefix=build-fuzz/artifacts/ \
  -print_final_stats=1 "$@" >"$log" 2>&1 || status=$?
if [[ $status -ne 0 ]]; then
  grep -a -v -E '^#[0-9]+[[:space:]]+(NEW|REDUCE|pulse|RELOAD)' "$log" | tail -40 >&2
  echo "fuzz-replays: the reader failed; the input is in build-fuzz/artifacts/ (log: $log)" >&2
  exit 1
fi
runs=$(grep -a -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')
done_line=$(grep -a -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -1)
cov=$(grep -a -o 'cov: [0-9]*' <<<"$done_line" | grep -o '[0-9]*$')
features=$(grep -a -o 'ft: [0-9]*' <<<"$done_line" | grep -o '[0-9]*$')
corpus=$(grep -a -o 'corp: [0-9]*' <<<"$done_line" | grep -o '[0-9]*$')
edges=$(grep -a -o -m1 '([0-9]* inline 8-bit counters)' "$log" | grep -o '[0-9][0-9]*' | head -1)
echo "fuzz-replays: ${runs} executions in ${seconds} s, coverage ${cov} of ${edges} edges" \
  "(${features} features), corpus ${corpus} inputs, nothing found"
