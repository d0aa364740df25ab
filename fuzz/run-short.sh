#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz targets with clang and gives each a short pass: the
# calculator's evaluator, the configuration reader, the RTF reader, the
# reader of measured tables, the fit of the fall's law, the video reader and
# the reader of series files, 20 seconds each, as many at once as the machine
# has processors. Fails when clang++ is not installed (the fuzzing would
# silently not happen) and when a fuzzer finds a fault.
# The build folder is build-fuzz, or $LORVA_FUZZ_BUILD: a folder already
# configured with -DLORVA_FUZZERS=ON (the sanitizer build of tester.sh) is
# used as it is. $LORVA_FUZZ_SECONDS sets the time of each pass.
set -eu

if ! command -v clang++ >/dev/null 2>&1; then
    echo "fuzz/run-short.sh: clang++ not found, cannot fuzz" >&2
    exit 1
fi

root=$(cd "$(dirname "$0")/.." && pwd)
build=${LORVA_FUZZ_BUILD:-$root/build-fuzz}
seconds=${LORVA_FUZZ_SECONDS:-20}
jobs=$(nproc 2>/dev/null || echo 2)

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DLORVA_FUZZERS=ON \
        -DLORVA_BENCHMARKS=OFF -DBUILD_TESTING=OFF >/dev/null
fi
cmake --build "$build" --target fuzz_evaluator fuzz_config fuzz_rtf fuzz_measures fuzz_fit \
    fuzz_video fuzz_series -j "$jobs"

# A short pass on a busy machine reports the slowest input without failing on it.
export LORVA_FUZZ_REPORT_ONLY=1
export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# run <target> <max_len> [seed files...]: one pass, its output in $work/<target>.log.
run() {
    target=$1
    maxlen=$2
    shift 2
    mkdir "$work/$target"
    for seed in "$@"; do
        cp "$seed" "$work/$target/"
    done
    "$build/fuzz/$target" -max_len="$maxlen" -timeout=5 -max_total_time="$seconds" \
        -print_final_stats=1 -artifact_prefix="$root/" "$work/$target" \
        >"$work/$target.log" 2>&1
}

# The passes run side by side, $jobs at a time. A pass that fails prints its
# whole output; the others print their final statistics.
failed=0
running=""
finish() {
    for entry in $running; do
        target=${entry%:*}
        if wait "${entry#*:}"; then
            echo "== $target"
            grep -E '^stat::|DONE|slowest' \
                "$work/$target.log" || true
        else
            echo "== $target : ÉCHEC"
            cat "$work/$target.log"
            failed=1
        fi
    done
    running=""
}
start() {
    run "$@" &
    running="$running $1:$!"
    if [ "$(echo $running | wc -w)" -ge "$jobs" ]; then
        finish
    fi
}

start fuzz_evaluator 256
start fuzz_config 4096 "$root/tests/data/golden.P18"
start fuzz_rtf 2048 "$root"/tests/data/richtext/*.rtf
start fuzz_measures 4096 "$root"/tests/data/measures/*
start fuzz_video 8192 "$root"/tests/data/video/*
start fuzz_fit 2048 "$root"/tests/data/fuzz/fit/*
start fuzz_series 4096 "$root"/tests/data/series/*
finish
exit "$failed"
