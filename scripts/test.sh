#!/usr/bin/env bash
# Checks the format of the C++ sources, builds everything under
# AddressSanitizer and UndefinedBehaviorSanitizer and runs the whole test suite
# (widget tests offscreen). The benchmarks are built too, so they cannot rot
# unnoticed; they run from scripts/bench.sh or by hand in an optimised build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/format_check.sh"
build="$root/build/asan"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARVEL_SANITIZE=ON -DTARVEL_BUILD_BENCH=ON >/dev/null
cmake --build "$build"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd "$build"
ctest --output-on-failure --timeout 600 -j2
# Every reader and every protocol family fuzzed briefly: a few seconds each
# catch a reader that has broken since the last long run.
cd "$root"
TARVEL_FUZZ_RUNS=20000 "$root/scripts/fuzz.sh" 30
