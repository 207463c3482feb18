#!/usr/bin/env bash
# Builds the Debian package from an optimised build of its own (build/package)
# and prints where it is: build/package/tarvel2_VERSION_ARCH.deb. Install it
# with: sudo apt install ./build/package/tarvel2_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
build="$root/build/package"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVEL_BUILD_TESTS=OFF \
    -DTARVEL_SANITIZE=OFF -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build "$build"
rm -f "$build"/tarvel2_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/tarvel2_*.deb
