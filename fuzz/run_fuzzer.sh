#!/usr/bin/env bash
# Runs one fuzz target for FUZZ_SECONDS (default 60) on a scratch copy of its seeds, so
# that new corpus entries never land in the source tree. Fails on any finding, printing
# the sanitizer report and the path of the input that caused it.
#   run_fuzzer.sh BINARY SEED-FOLDER SCRATCH-FOLDER MAX-LEN DICTIONARY
set -uo pipefail

binary=$1
seeds=$2
scratch=$3
max_len=$4
dictionary=$5
seconds=${FUZZ_SECONDS:-60}
name=$(basename "$binary")

rm -rf "$scratch"
mkdir -p "$scratch/corpus" "$scratch/findings"
cp "$seeds"/* "$scratch/corpus/"
log=$scratch/fuzz.log

# libFuzzer stops by itself after max_total_time; the outer timeout only guards a hang in
# its own shutdown.
timeout --signal=KILL $((seconds + 300)) "$binary" -max_total_time="$seconds" \
    -max_len="$max_len" -dict="$dictionary" -timeout=25 -print_final_stats=1 \
    -artifact_prefix="$scratch/findings/" "$scratch/corpus" >"$log" 2>&1
status=$?

runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
mapfile -t findings < <(find "$scratch/findings" -type f)

if [[ $status -eq 0 && ${#findings[@]} -eq 0 ]]; then
    echo "$name: no findings, ${runs:-?} executions in ${seconds} s (${speed:-?} exec/s)"
    exit 0
fi
tail -n 80 "$log"
echo
echo "$name: FINDING (status $status) after ${runs:-?} executions"
for finding in "${findings[@]}"; do
    echo "  crash input: $finding"
    echo "  reproduce:   $binary $finding"
done
echo "  full log:    $log"
exit 1
