#!/usr/bin/env bash
# Fuzzes the flowchart reader with libFuzzer for a while (default 60 s).
# Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
"$root/scripts/deps.sh"
command -v clang++ >/dev/null || { sudo_cmd=(); [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo); "${sudo_cmd[@]}" apt-get install -y -qq clang libclang-rt-dev; }
out="$root/build/fuzz"
mkdir -p "$out/corpus"
mapfile -t core < <(find "$root/src" -name '*.cpp' -not -path '*/ui/*' -not -path '*/app/*' -not -path '*/platform/qt/*')
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -I"$root/src" \
    "${core[@]}" "$root/tests/fuzz/flow_file_fuzz.cpp" -o "$out/flow_file_fuzz"
# Seed the corpus with the bundled charts.
find "$root/data" -iname '*.flo' -exec cp {} "$out/corpus/" \; 2>/dev/null || true
"$out/flow_file_fuzz" -max_total_time="$seconds" -max_len=65536 "$out/corpus"
