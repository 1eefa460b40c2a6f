#!/usr/bin/env bash
# Runs the fuzz targets for as long as you like:
#   ./fuzz.sh                      every target for 60 seconds
#   ./fuzz.sh 600                  every target for 600 seconds
#   ./fuzz.sh 600 rtfreader        one target (or several) for 600 seconds
# Builds them with clang into build-fuzz. Each target keeps the inputs it finds in build-fuzz/runs/<target>/corpus,
# so the next run goes on from there; an input that breaks a target is kept in build-fuzz/runs/<target>/artifacts
# and the script stops with a failure.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh
postavo_install_packages --tests

seconds=60
if [ $# -gt 0 ] && [[ $1 =~ ^[0-9]+$ ]]; then
    seconds=$1
    shift
fi

cmake -S fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build-fuzz -j"$(nproc)"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    # Every target has its seeds in fuzz/corpus/<target>.
    for seeds in fuzz/corpus/*/; do
        seeds=${seeds%/}
        targets+=("${seeds#fuzz/corpus/}")
    done
fi

for target in "${targets[@]}"; do
    if [ ! -f "build-fuzz/fuzz_$target" ] || [ ! -x "build-fuzz/fuzz_$target" ]; then
        echo "No fuzz target \"$target\"; there are: $(cd fuzz && ls corpus | tr '\n' ' ')" >&2
        exit 1
    fi
    echo "== $target: $seconds seconds"
    fuzz/run-target.sh "build-fuzz/fuzz_$target" "$seconds" "fuzz/corpus/$target" "build-fuzz/runs/$target"
done
