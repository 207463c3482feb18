#!/usr/bin/env bash
# Fuzzes a reader with libFuzzer for a while (default 60 s): the flowchart
# reader, the calibration-file reader with "calibration", the mimic
# definition reader with "mimic_set", or the breakpoint side-file reader with
# "breakpoint_file".
# Usage: scripts/fuzz.sh [SECONDS] [flow_file|calibration|mimic_set|breakpoint_file]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
target=${2:-flow_file}
"$root/scripts/deps.sh"
command -v clang++ >/dev/null || { sudo_cmd=(); [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo); "${sudo_cmd[@]}" apt-get install -y -qq clang libclang-rt-dev; }
out="$root/build/fuzz"
mkdir -p "$out"
mapfile -t core < <(find "$root/src" -name '*.cpp' -not -path '*/ui/*' -not -path '*/app/*' -not -path '*/platform/qt/*')
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -I"$root/src" \
    "${core[@]}" "$root/tests/fuzz/${target}_fuzz.cpp" -o "$out/${target}_fuzz"
# Seed the corpus with the bundled charts or calibration files.
corpus="$out/corpus-$target"
mkdir -p "$corpus"
case "$target" in
    calibration) find "$root/data" -iname '*.cal' -exec cp --backup=numbered {} "$corpus/" \; 2>/dev/null || true ;;
    mimic_set) find "$root/data/MIMICS" -type f ! -name '*.*' -exec cp {} "$corpus/" \; 2>/dev/null || true ;;
    *) find "$root/data" -iname '*.flo' -exec cp {} "$corpus/" \; 2>/dev/null || true ;;
esac
"$out/${target}_fuzz" -max_total_time="$seconds" -max_len=65536 "$corpus"
