#!/usr/bin/env bash
# Builds the benchmarks optimised and runs them. Arguments go to Google
# Benchmark (for instance --benchmark_filter=Load).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
build="$root/build/bench"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVEL_BUILD_TESTS=OFF -DTARVEL_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --target tarvel_bench
export QT_QPA_PLATFORM=offscreen
exec "$build/bench/tarvel_bench" "$@"
