#!/usr/bin/env bash
# The shared corpus read by the Linux tiffwalker and by tiffwalker.exe under
# Wine: the TSV output and the exit status must be the same, byte for byte,
# and so must the JSON output and the --trace listings.
# Both are given the same relative paths, so that the paths match too.
#   same_tsv_test.sh LINUX_TIFFWALKER WINDOWS_TIFFWALKER_EXE CORPUS_DIR
set -euo pipefail
linux=$(realpath "$1")
windows=$(realpath "$2")
corpus=$3
if [ ! -d "$corpus" ]; then
  echo "same_tsv_test: no shared corpus at $corpus: skipped"
  exit 0
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$corpus/.."
name=$(basename "$corpus")
for folder in "$name"/*/; do
  for jobs in 1 2; do
    status_linux=0 status_windows=0
    "$linux" -r -j "$jobs" --format tsv "$folder" >"$scratch/linux.tsv" 2>/dev/null || status_linux=$?
    wine "$windows" -r -j "$jobs" --format tsv "$folder" >"$scratch/windows.tsv" 2>/dev/null || status_windows=$?
    if ! cmp -s "$scratch/linux.tsv" "$scratch/windows.tsv" || [ "$status_linux" != "$status_windows" ]; then
      echo "same_tsv_test: $folder (-j $jobs) differs: exit $status_linux on Linux, $status_windows on Windows" >&2
      diff "$scratch/linux.tsv" "$scratch/windows.tsv" >&2 || true
      exit 1
    fi
    echo "same_tsv_test: $folder -j $jobs: $(($(wc -l <"$scratch/linux.tsv") - 1)) files, the same output"
  done
done
# JSON lines too.
for folder in "$name"/*/; do
  "$linux" -r --format json "$folder" >"$scratch/linux.json" 2>/dev/null || true
  wine "$windows" -r --format json "$folder" >"$scratch/windows.json" 2>/dev/null || true
  cmp -s "$scratch/linux.json" "$scratch/windows.json" || {
    echo "same_tsv_test: the JSON output of $folder differs" >&2
    diff "$scratch/linux.json" "$scratch/windows.json" | head -20 >&2 || true
    exit 1
  }
done
echo "same_tsv_test: JSON output the same"
# The full listing too: standard output in binary mode, so no "\r\n".
for file in "$name"/real/*; do
  "$linux" --trace "$file" >"$scratch/linux.txt" 2>&1 || true
  wine "$windows" --trace "$file" >"$scratch/windows.txt" 2>&1 || true
  if ! cmp -s "$scratch/linux.txt" "$scratch/windows.txt"; then
    echo "same_tsv_test: the --trace listing of $file differs" >&2
    diff "$scratch/linux.txt" "$scratch/windows.txt" | head -20 >&2 || true
    exit 1
  fi
done
echo "same_tsv_test: --trace listings of $name/real the same"
