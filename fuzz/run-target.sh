#!/usr/bin/env bash
# Runs one fuzz target for some seconds over its seeds and the inputs it found before, keeping in the work
# folder the inputs it finds (corpus/) and any input that breaks it (artifacts/).
# Usage: run-target.sh <target binary> <seconds> <seed folder> <work folder> [fresh]
#   fresh: forget the inputs of earlier runs, so that a short run does the same work every time.
set -euo pipefail
binary=$1 seconds=$2 seeds=$3 work=$4
if [ "${5:-}" = fresh ]; then
    rm -rf "$work"
fi
mkdir -p "$work/corpus" "$work/artifacts"
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
# A built-without-libFuzzer target ignores the options and runs each input of the folders once.
exec "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/artifacts/" "$work/corpus" "$seeds"
