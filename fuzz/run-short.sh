#!/bin/sh
# Builds the evaluator fuzzer with clang and fuzzes for 60 seconds. Exits 0
# with a message when clang++ is not installed; fails when the fuzzer finds a
# fault. The build folder is build-fuzz, or $LORVA_FUZZ_BUILD.
set -eu

if ! command -v clang++ >/dev/null 2>&1; then
    echo "fuzz/run-short.sh: clang++ not found, fuzzing skipped"
    exit 0
fi

root=$(cd "$(dirname "$0")/.." && pwd)
build=${LORVA_FUZZ_BUILD:-$root/build-fuzz}

cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DLORVA_FUZZERS=ON \
    -DLORVA_BENCHMARKS=OFF -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target fuzz_evaluator -j2

# A short pass on a busy machine reports the slowest input without failing on it.
export LORVA_FUZZ_REPORT_ONLY=1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus"
"$build/fuzz/fuzz_evaluator" -max_len=256 -timeout=5 -max_total_time=60 \
    -print_final_stats=1 -artifact_prefix="$root/" "$work/corpus"
