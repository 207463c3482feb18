#!/usr/bin/env bash
# Fuzzes the readers with libFuzzer: one target for SECONDS (default 60), or
# every target in turn for SECONDS each when none is named. The core is built
# once, with clang and the sanitizers, into one archive all targets link
# (build/fuzz). Each target's corpus (build/fuzz/corpus-TARGET) starts from
# the shipped files and keeps growing from run to run. A crash, a leak, a
# broken check or an input that takes too long stops the script with an error.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET]
#   TARVEL_FUZZ_RUNS=N: at most N executions a target, seed 1 (repeatable).
#   targets: flow_file calibration mimic_set sid chip_data interface_config
#            ini_file protocol breakpoint_file
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
only=${2:-}
"$root/scripts/deps.sh"
if ! command -v clang++ >/dev/null; then
    sudo_cmd=()
    [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get install -y -qq clang libclang-rt-dev
fi

out="$root/build/fuzz"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root/tests/fuzz" -B "$out" -G Ninja -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" >/dev/null
cmake --build "$out"

targets=(flow_file calibration mimic_set sid chip_data interface_config ini_file protocol breakpoint_file)
if [[ -n "$only" ]]; then
    [[ -f "$root/tests/fuzz/${only}_fuzz.cpp" ]] || { echo "No hay objetivo $only" >&2; exit 2; }
    targets=("$only")
fi

# The starting corpus of a target: the shipped files it reads, and the
# hand-made seeds in tests/fuzz/seeds/TARGET.
seed() {
    local target=$1 corpus=$2
    case "$target" in
        flow_file) find "$root/data" -iname '*.flo' -exec cp {} "$corpus/" \; ;;
        calibration) find "$root/data/SENSORS" -iname '*.cal' -exec cp --backup=numbered {} "$corpus/" \; ;;
        mimic_set) find "$root/data/MIMICS" -type f ! -name '*.*' -exec cp --backup=numbered {} "$corpus/" \; ;;
        chip_data) cp "$root/data/SENSORS/tolvachip.dat" "$corpus/" ;;
        interface_config) cp "$root/data/CONFIGUR.FCF" "$corpus/" ;;
    esac
    if [[ -d "$root/tests/fuzz/seeds/$target" ]]; then
        cp "$root/tests/fuzz/seeds/$target"/* "$corpus/"
    fi
}

for target in "${targets[@]}"; do
    corpus="$out/corpus-$target"
    mkdir -p "$corpus"
    seed "$target" "$corpus"
    echo "== $target: $seconds s"
    log="$out/log-$target.txt"
    status=0
    # TARVEL_FUZZ_RUNS bounds the run by executions with a fixed seed instead,
    # so that a short run (the test command's) does the same work everywhere.
    bound=(-max_total_time="$seconds")
    if [[ -n "${TARVEL_FUZZ_RUNS:-}" ]]; then bound+=(-runs="$TARVEL_FUZZ_RUNS" -seed=1); fi
    (cd "$out" && nice -n 19 "$out/${target}_fuzz" "${bound[@]}" -max_len=65536 \
        -timeout=20 -print_final_stats=1 "$corpus" >"$log" 2>&1) || status=$?
    # The coverage reached (cov: edges, ft: features) and the executions.
    grep -E '^#[0-9]+[[:space:]]+DONE|^stat::number_of_executed_units' "$log" || true
    if ((status != 0)); then
        tail -n 60 "$log" >&2
        echo "El objetivo $target ha encontrado un fallo (registro: $log)" >&2
        exit 1
    fi
done
