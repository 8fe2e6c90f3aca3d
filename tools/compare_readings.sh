#!/bin/bash
# Run from the repository root: tools/compare_readings.sh OLD_TIFFWALKER NEW_TIFFWALKER
# (CORPUS=DIR for another corpus). Exits 1 when any output differs.
# TSV and JSON of the new build are compared without their trailing columns (maker, count_kind and after).
old=$1; new=$2; fail=0; t=$(mktemp -d)
run() { "$@" >"$out" 2>&1; echo "rc=$?" >>"$out"; }
strip() { case "$1" in
  tsv) cut -f1-9 "$2" > "$2.s" ;;
  json) python3 -c '
import sys,json
for line in open(sys.argv[1], encoding="utf-8", errors="surrogateescape"):
    if line.startswith("{"):
        o=json.loads(line); [o.pop(k,None) for k in ("maker","count_kind","mechanical_count","rated_releases","rated_source","source")]; print(json.dumps(o))
    else: print(line, end="")' "$2" > "$2.s" ;;
  *) cp "$2" "$2.s" ;; esac; }
for f in ${CORPUS:-../shared/corpus}/real/* ${CORPUS:-../shared/corpus}/makers/* ${CORPUS:-../shared/corpus}/malformed/*; do
  case "$f" in *MANIFEST.tsv) continue;; esac
  for opts in "" "--trace" "--trace --problems" "--format tsv" "--format json"; do
    out=$t/a run $old $opts "$f"; out=$t/b run $new $opts "$f"
    k=${opts#--format }; strip "$k" $t/a; strip "$k" $t/b
    cmp -s $t/a.s $t/b.s || { echo "DIFF: $opts $f"; fail=1; }
  done
done
for d in ${CORPUS:-../shared/corpus}/real ${CORPUS:-../shared/corpus}/makers ${CORPUS:-../shared/corpus}/malformed; do
  out=$t/a run $old -j1 "$d"; out=$t/b run $new -j1 "$d"
  cmp -s $t/a $t/b || { echo "DIFF: table $d"; fail=1; }
done
rm -rf $t; echo "compare done fail=$fail"
exit $fail
