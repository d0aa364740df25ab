#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds and runs every test twice: a normal build,
# whose installation and Debian package are then checked, and one with
# AddressSanitizer and UndefinedBehaviorSanitizer, built with clang, whose
# fuzz targets then get a short pass.
source "$(dirname "$0")/scripts/common.sh"

# Each stage says when it starts, in seconds since the beginning, and the
# processor time the commands have used so far (user and system, children
# included), which other work on a busy machine disturbs far less: so that a
# slow run shows where its time went.
started=$SECONDS
stage() {
    # utime, stime, cutime and cstime of this shell, in clock ticks.
    local cpu
    cpu="$(awk -v hz="$(getconf CLK_TCK)" '{ printf "%d", ($14 + $15 + $16 + $17) / hz }' \
        "/proc/$$/stat")"
    echo "== $1 (à $((SECONDS - started)) s, processeur ${cpu} s)"
}

stage "paquets"
install_packages

export QT_QPA_PLATFORM=offscreen

stage "construction normale"
build_tree build-tests -DCMAKE_BUILD_TYPE=Release -DLORVA_WERROR=ON
stage "tests normaux"
ctest --test-dir "$ROOT/build-tests" --output-on-failure -j "$JOBS"
# The installation and the Debian package of that Release build.
stage "paquet Debian"
"$ROOT/scripts/check-package.sh" "$ROOT/build-tests"

# Qt, fontconfig and the other system libraries are not built with the
# sanitizers; their one-time allocations are listed in the suppressions file.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$ROOT/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# Light debug information keeps the sanitizers' reports readable and the build short.
# This tree is built with clang and also holds the fuzz targets: its objects
# carry the fuzzers' coverage instrumentation, so the libraries are compiled
# once for the sanitizer tests and the fuzzing pass alike.
stage "construction avec les sanitizers"
build_tree build-asan -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1" \
    -DCMAKE_CXX_COMPILER=clang++ -DLORVA_FUZZERS=ON -DLORVA_WERROR=ON -DLORVA_BENCHMARKS=OFF
stage "tests avec les sanitizers"
ctest --test-dir "$ROOT/build-asan" --output-on-failure -j "$JOBS"

# A skipped test hides what it is for: every row must run here.
stage "aucun test sauté"
if grep -E "^SKIP +:" "$ROOT"/build-{tests,asan}/Testing/Temporary/LastTest.log; then
    echo "Des tests ont été sautés." >&2
    exit 1
fi
stage "fuzzing court"
LORVA_FUZZ_BUILD="$ROOT/build-asan" "$ROOT/fuzz/run-short.sh"
stage "fin"
echo "Tous les tests sont passés."
