#!/usr/bin/env bash
# Builds the fuzz targets (cmake --preset fuzz: clang, libFuzzer and the
# sanitizers) and fuzzes each for SECONDS (default 60), both at once, in a
# new session without a terminal. Inputs that add coverage are merged into
# fuzz/corpus/TARGET; findings and logs go to build/fuzz/.
# Usage: fuzz/run_fuzzers.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
targets="method_file run exact_reading region"
# The exact reader belongs to ordimet-analyse, which the fuzz preset leaves
# out; only the fuzz programs are built.
cmake --preset fuzz -DORDIMET_BUILD_ANALYSE=ON >/dev/null
cmake --build --preset fuzz --target $(printf 'fuzz_%s ' $targets)

status=0
for target in $targets; do
    (
        scratch=$(mktemp -d)
        trap 'rm -rf "$scratch"' EXIT
        program=build/fuzz/fuzz/fuzz_$target
        # A new session without a terminal, so that the run's pauses return.
        setsid -w "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
            -print_final_stats=1 -artifact_prefix="build/fuzz/" \
            "$scratch" "fuzz/corpus/$target" >"build/fuzz/$target.log" 2>&1
        setsid -w "$program" -merge=1 "fuzz/corpus/$target" "$scratch" >>"build/fuzz/$target.log" 2>&1
    ) &
done
for job in $(jobs -p); do
    wait "$job" || status=1
done
grep -h -E '^stat::number_of_executed_units|^==.*ERROR|^SUMMARY' build/fuzz/*.log || true
exit $status
