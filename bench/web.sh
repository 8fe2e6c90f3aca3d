#!/usr/bin/env bash
# The browser page's benchmark: the page in headless Chromium given the 1000
# files of the benchmark corpus (bench/make_corpus), timed from the files being
# given to the last row shown, beside the page's floor (one 64 KiB read per
# file, all in flight, in the same browser) and tiffwalker, exiv2 and exiftool
# on the same files, all in this one run.
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
