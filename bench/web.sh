#!/usr/bin/env bash
# The browser page's benchmark: the page in headless Chromium given the 1000
# files of the benchmark corpus (bench/make_corpus), timed from the files being
# given to the last row shown, beside the page's floor (one 64 KiB read per
# file, all in flight, in the same browser) and tiffwalker, exiv2 and exiftool
# on the same files, all in this one run.
#
# Then the same on real camera files: the images of ../shared/corpus/real,
# copied round and round to as many files, when that folder is there.
#
#   bench/web.sh    (FRAMETALLY_BENCH_FILES=N, FRAMETALLY_BENCH_DIR=DIR, RUNS=N)
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
build=$repo/build-bench
scratch=${FRAMETALLY_BENCH_DIR:-${TMPDIR:-/tmp}/frametally-web-bench}
files=${FRAMETALLY_BENCH_FILES:-1000}

tools/install-deps.sh exiv2 libimage-exiftool-perl libbenchmark-dev emscripten chromium chromium-driver python3-selenium
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DFRAMETALLY_BUILD_GUI=OFF \
  -DFRAMETALLY_BUILD_TESTS=OFF -DFRAMETALLY_BUILD_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j 2 --target tiffwalker make_corpus >/dev/null
tools/web.sh --build-only

rm -rf "$scratch"
mkdir -p "$scratch"
"$build/bench/make_corpus" "$scratch/corpus" "$files" >"$scratch/expected.tsv"
find "$scratch/corpus" -type f | LC_ALL=C sort >"$scratch/files.txt"
echo "Corpus: $(wc -l <"$scratch/files.txt") files in $scratch/corpus"
echo "Site: $(du -sk --apparent-size build-web/site | cut -f1) KiB, $(tar -C build-web -cf - site | gzip -9 | wc -c | awk '{printf "%.0f", $1 / 1024}') KiB compressed"
/usr/bin/python3 bench/web_bench.py build-web/site "$build/cli/tiffwalker" "$scratch/files.txt" "$scratch/expected.tsv" "${RUNS:-5}"

real=$repo/../shared/corpus/real
if [ -d "$real" ]; then
  mkdir -p "$scratch/real"
  mapfile -t originals < <(find "$real" -maxdepth 1 -type f \( -iname '*.nef' -o -iname '*.jpg' -o -iname '*.jpeg' \) | LC_ALL=C sort)
  for ((i = 0; i < files; ++i)); do
    original=${originals[i % ${#originals[@]}]}
    cp "$original" "$scratch/real/$(printf '%04d' "$i")_$(basename "$original")"
  done
  chmod u+w "$scratch"/real/*
  find "$scratch/real" -type f | LC_ALL=C sort >"$scratch/real-files.txt"
  # What the page must show: what tiffwalker says of each file (a raised
  # error's row shows its message, which the comparison leaves aside).
  xargs -d '\n' "$build/cli/tiffwalker" --format tsv <"$scratch/real-files.txt" 2>/dev/null | tail -n +2 \
    | awk -F '\t' '$3 != "error" { print $1 "\t" $2 }' >"$scratch/real-expected.tsv" || true
  echo
  echo "Real camera files: $(wc -l <"$scratch/real-files.txt") copies of the ${#originals[@]} images of $real"
  FRAMETALLY_BENCH_LABEL="real camera files" /usr/bin/python3 bench/web_bench.py build-web/site "$build/cli/tiffwalker" \
    "$scratch/real-files.txt" "$scratch/real-expected.tsv" "${RUNS:-5}"
else
  echo "(../shared/corpus/real is not here: synthetic files only)"
fi
