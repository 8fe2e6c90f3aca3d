#!/usr/bin/env bash
# Runs each fuzz target for a given number of seconds (default 600), one after
# the other, from fresh seeds and ../shared/corpus when it is there.
#
#   fuzz/run.sh [SECONDS] [TARGET...]      TARGET: fuzz_reader, fuzz_display_text
#
# Environment: BUILD (default build-fuzz), JOBS (parallel fuzzing jobs per
# target, default 1), MAX_LEN (longest input of fuzz_reader, default 65536).
# The live corpora, logs and any crash, leak or timeout input go to
# fuzz/corpus-work/ (ignored by git); a finding worth keeping becomes a file in
# tests/regressions/ with a test.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-600}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(fuzz_reader fuzz_display_text)
build=${BUILD:-build-fuzz}
jobs=${JOBS:-1}
max_len=${MAX_LEN:-65536}
work=fuzz/corpus-work
corpus=../shared/corpus

if [ ! -x "$build/fuzz/fuzz_reader" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DFRAMETALLY_BUILD_FUZZERS=ON -DFRAMETALLY_BUILD_GUI=OFF -DFRAMETALLY_BUILD_TESTS=OFF
fi
cmake --build "$build" --target fuzz_reader fuzz_display_text make_fuzz_seeds

shared=()
if [ -d "$corpus" ]; then
  shared=("$corpus/real" "$corpus/malformed")
  [ -d "$corpus/makers" ] && shared+=("$corpus/makers")
else
  echo "No $corpus here: seeding from our synthetic files only." >&2
fi
corpus_files=()
for dir in "${shared[@]}"; do
  for file in "$dir"/*; do [ -f "$file" ] && corpus_files+=("$file"); done
done
mkdir -p "$work/seeds" "$work/findings"
"$build/fuzz/make_fuzz_seeds" "$work/seeds" "${corpus_files[@]}"

for target in "${targets[@]}"; do
  case "$target" in
    fuzz_reader) seeds=("$work/seeds/reader" tests/regressions "${shared[@]}"); extra=(-max_len="$max_len") ;;
    fuzz_display_text) seeds=("$work/seeds/display"); extra=(-max_len=4096) ;;
    *) echo "unknown target: $target" >&2; exit 2 ;;
  esac
  [ "$jobs" -gt 1 ] && extra+=(-jobs="$jobs" -workers="$jobs")
  live="$work/live-$target"
  mkdir -p "$live" "$work/findings/$target"
  echo "== $target for ${seconds}s, log in $work/$target.log" >&2
  # A reading may take 1 s in a Release build; with the sanitizers and two
  # readings per input, 10 s means a hang. No single allocation may pass the
  # reader's memory budget of 256 MiB.
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$build/fuzz/$target" "$live" "${seeds[@]}" \
      -max_total_time="$seconds" -timeout=10 -malloc_limit_mb=256 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$work/findings/$target/" "${extra[@]}" \
      >"$work/$target.log" 2>&1 || status=$?
  # Parallel jobs each write a log of their own where they were started.
  for log in fuzz-[0-9]*.log; do [ -f "$log" ] && mv "$log" "$work/$target-$log"; done
  tail -n 25 "$work/$target.log"
  if [ "${status:-0}" -ne 0 ]; then
    echo "$target stopped with a finding (status $status): see $work/findings/$target/" >&2
    exit "$status"
  fi
done
