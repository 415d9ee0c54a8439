#!/bin/sh
# A bounded fuzz run that must also learn something: it fails on a crash, and
# it fails when the run ends with fewer coverage features than the seed corpus
# alone gives plus a margin, the mark of a fuzzer that gets no feedback from the
# code it fuzzes.
# usage: fuzz_bounded.sh FUZZER SECONDS MARGIN SCRATCH_CORPUS SEED_CORPUS
set -u
fuzzer=$1 seconds=$2 margin=$3 scratch=$4 seeds=$5
log=$scratch.log

# The last "ft:" figure of libFuzzer's status lines (the DONE line at the end).
features() { sed -n 's/.* ft: \([0-9][0-9]*\) .*/\1/p' "$1" | tail -n 1; }

"$fuzzer" -runs=0 "$seeds" >"$log" 2>&1 || { cat "$log"; echo "the seed corpus alone does not run cleanly"; exit 1; }
seed=$(features "$log")

mkdir -p "$scratch"
"$fuzzer" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=1024 -print_final_stats=1 \
  "$scratch" "$seeds" >"$log" 2>&1
rc=$?
cat "$log"
[ "$rc" -eq 0 ] || exit "$rc"
final=$(features "$log")

echo "coverage features: seed corpus $seed, after the run ${final:-none}, needed $((seed + margin))"
if [ -z "$seed" ] || [ -z "$final" ] || [ "$final" -lt $((seed + margin)) ]; then
  echo "the fuzzer found too little beyond its seeds: is the fuzzed code built with coverage feedback?"
  exit 1
fi
