#!/usr/bin/env bash
# Builds Tarvel2Esp and starts it on the bundled data, in simulation.
# Extra arguments go to the program (for instance a chart to open).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVEL_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target Tarvel2Esp tarvel
cd "$root/data"
exec "$build/Tarvel2Esp" "$@"
