#!/usr/bin/env bash
# Checks that every C++ source keeps the format of .clang-format
# (clang-format --dry-run -Werror); lists the files that do not and fails.
# Usage: scripts/format_check.sh   (fix with: clang-format -i FILE...)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t sources < <(git ls-files '*.cpp' '*.h')
else
    mapfile -t sources < <(find src tests tools bench setini -name '*.cpp' -o -name '*.h' | sort)
fi
unformatted=()
for f in "${sources[@]}"; do
    [[ -f "$f" ]] || continue
    clang-format --dry-run -Werror "$f" >/dev/null 2>&1 || unformatted+=("$f")
done
if ((${#unformatted[@]})); then
    echo "Not formatted as .clang-format says (clang-format -i FILE...):" >&2
    printf '  %s\n' "${unformatted[@]}" >&2
    exit 1
fi
