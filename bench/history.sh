#!/usr/bin/env bash
# The history's benchmark: `tiffwalker -r --history` over synthetic libraries
# of 10,000 and 100,000 NEFs from 20 bodies in steady use
# (tools/make_history_library), beside the plain batch of the same files in
# the same run (`tiffwalker -r --format tsv`), its peer: wall time (median of
# 3) and peak memory of each, and their ratios.
#
#   bench/history.sh     (FRAMETALLY_BENCH_DIR=DIR for another scratch folder,
#                         FRAMETALLY_HISTORY_SIZES="10000 100000" for others)
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
build=$repo/build-bench
scratch=${FRAMETALLY_BENCH_DIR:-${TMPDIR:-/tmp}/frametally-bench}/history
sizes=${FRAMETALLY_HISTORY_SIZES:-10000 100000}
bodies=20

tools/install-deps.sh time libbenchmark-dev
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DFRAMETALLY_BUILD_GUI=OFF \
  -DFRAMETALLY_BUILD_TESTS=OFF -DFRAMETALLY_BUILD_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j 2 --target tiffwalker make_history_library >/dev/null
tiffwalker=$build/cli/tiffwalker

now() { date +%s%N; }
median_ms() {
  local times=() start
  for ((i = 0; i < 3; i++)); do
    start=$(now)
    "$@" >/dev/null 2>&1 || true
    times+=($((($(now) - start) / 1000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.0f", a[2]/1000}'
}
peak_kib() { (/usr/bin/time -f '%M' "$@" 2>&1 >/dev/null || true) | tail -1; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2fx", a / b}'; }
mib() { awk -v k="$1" 'BEGIN {printf "%.1f", k / 1024}'; }

rm -rf "$scratch"
mkdir -p "$scratch"
declare -A batch_ms history_ms text_ms batch_kib history_kib text_kib
for n in $sizes; do
  library=$scratch/library-$n
  "$build/tools/make_history_library" "$library" "$n" "$bodies"
  # A warm page cache for all alike: one run of each before the timing.
  "$tiffwalker" -r --format tsv "$library" >/dev/null
  batch_ms[$n]=$(median_ms "$tiffwalker" -r --format tsv "$library")
  history_ms[$n]=$(median_ms "$tiffwalker" -r --history --format tsv "$library")
  text_ms[$n]=$(median_ms "$tiffwalker" -r --history "$library")
  batch_kib[$n]=$(peak_kib "$tiffwalker" -r --format tsv "$library")
  history_kib[$n]=$(peak_kib "$tiffwalker" -r --history --format tsv "$library")
  text_kib[$n]=$(peak_kib "$tiffwalker" -r --history "$library")
  bodies_found=$("$tiffwalker" -r --history --format tsv "$library" | grep -c '^body' || true)
  echo "library of $n files: $bodies_found bodies in the history"
done

echo
echo "| $bodies bodies | files | batch (--format tsv) | --history --format tsv | --history (text) | history / batch |"
echo "|---|---:|---:|---:|---:|---:|"
for n in $sizes; do
  echo "| wall time, ms | $n | ${batch_ms[$n]} | ${history_ms[$n]} | ${text_ms[$n]} | $(ratio "${history_ms[$n]}" "${batch_ms[$n]}") |"
done
for n in $sizes; do
  echo "| peak memory, MiB | $n | $(mib "${batch_kib[$n]}") | $(mib "${history_kib[$n]}") | $(mib "${text_kib[$n]}") | $(ratio "${history_kib[$n]}" "${batch_kib[$n]}") |"
done
set -- $sizes
if [ $# -ge 2 ]; then
  echo "| peak memory $2 / $1 files | | $(ratio "${batch_kib[$2]}" "${batch_kib[$1]}") | $(ratio "${history_kib[$2]}" "${history_kib[$1]}") | $(ratio "${text_kib[$2]}" "${text_kib[$1]}") | |"
fi
