#!/usr/bin/env bash
# Fuzzes a reader with libFuzzer for a while (default 60 s): the flowchart
# reader, or the one named (mimic_set for the mimic definitions).
# Usage: scripts/fuzz.sh [SECONDS] [TARGET]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
target=${2:-flow_file}
"$root/scripts/deps.sh"
command -v clang++ >/dev/null || { sudo_cmd=(); [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo); "${sudo_cmd[@]}" apt-get install -y -qq clang libclang-rt-dev; }
out="$root/build/fuzz"
mkdir -p "$out/corpus-$target"
mapfile -t core < <(find "$root/src" -name '*.cpp' -not -path '*/ui/*' -not -path '*/app/*' -not -path '*/platform/qt/*')
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -I"$root/src" \
    "${core[@]}" "$root/tests/fuzz/${target}_fuzz.cpp" -o "$out/${target}_fuzz"
# Seed the corpus with the bundled charts or mimic sets.
if [[ $target == flow_file ]]; then
    find "$root/data" -iname '*.flo' -exec cp {} "$out/corpus-$target/" \; 2>/dev/null || true
elif [[ $target == mimic_set ]]; then
    find "$root/data/MIMICS" -type f ! -name '*.*' -exec cp {} "$out/corpus-$target/" \; 2>/dev/null || true
fi
"$out/${target}_fuzz" -max_total_time="$seconds" -max_len=65536 "$out/corpus-$target"
