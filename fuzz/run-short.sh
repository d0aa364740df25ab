#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz targets with clang and gives each a short pass: the
# calculator's evaluator, the configuration reader, the RTF reader, the
# reader of measured tables, the fit of the fall's law, the video reader and
# the reader of series files, about 25 seconds each. Fails when clang++ is not
# installed (the fuzzing would silently not happen) and when a fuzzer finds a
# fault. The build folder is build-fuzz, or
# $LORVA_FUZZ_BUILD; $LORVA_FUZZ_SECONDS sets the time of each pass.
set -eu

if ! command -v clang++ >/dev/null 2>&1; then
    echo "fuzz/run-short.sh: clang++ not found, cannot fuzz" >&2
    exit 1
fi

root=$(cd "$(dirname "$0")/.." && pwd)
build=${LORVA_FUZZ_BUILD:-$root/build-fuzz}
seconds=${LORVA_FUZZ_SECONDS:-25}

cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DLORVA_FUZZERS=ON \
    -DLORVA_BENCHMARKS=OFF -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target fuzz_evaluator fuzz_config fuzz_rtf fuzz_measures fuzz_fit fuzz_video \
    fuzz_series -j2

# A short pass on a busy machine reports the slowest input without failing on it.
export LORVA_FUZZ_REPORT_ONLY=1
export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# run <target> <max_len> [seed files...]
run() {
    target=$1
    maxlen=$2
    shift 2
    mkdir "$work/$target"
    for seed in "$@"; do
        cp "$seed" "$work/$target/"
    done
    echo "== $target"
    "$build/fuzz/$target" -max_len="$maxlen" -timeout=5 -max_total_time="$seconds" \
        -print_final_stats=1 -artifact_prefix="$root/" "$work/$target"
}

run fuzz_evaluator 256
run fuzz_config 4096 "$root/tests/data/golden.P18"
run fuzz_rtf 2048 "$root"/tests/data/richtext/*.rtf
run fuzz_measures 4096 "$root"/tests/data/measures/*
run fuzz_fit 2048 "$root"/tests/data/fuzz/fit/*
run fuzz_video 8192 "$root"/tests/data/video/*
run fuzz_series 4096 "$root"/tests/data/series/*
