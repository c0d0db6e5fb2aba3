#!/usr/bin/env bash
# Builds the fuzz targets (cmake --preset fuzz: clang, libFuzzer and the
# sanitizers) and fuzzes each for SECONDS (default 60), both at once, in a
# new session without a terminal. Inputs that add coverage are merged into
# fuzz/corpus/TARGET; findings and logs go to build/fuzz/.
# Usage: fuzz/run_fuzzers.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset fuzz >/dev/null && cmake --build --preset fuzz
for target in method_file run; do
    scratch=$(mktemp -d) program=build/fuzz/fuzz/fuzz_$target log=build/fuzz/$target.log
    (setsid -w "$program" -max_total_time="${1:-60}" -timeout=10 -rss_limit_mb=4096 \
        -artifact_prefix=build/fuzz/ "$scratch" "fuzz/corpus/$target" >"$log" 2>&1 &&
        setsid -w "$program" -merge=1 "fuzz/corpus/$target" "$scratch" >>"$log" 2>&1 &&
        rm -rf "$scratch") &
done
wait -n && wait -n
