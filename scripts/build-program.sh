#!/usr/bin/env bash
# Configures build-run/ for the player (no tests, no benchmarks) and builds the program alone; the
# help page is read from the source tree by this build and installed beside the program by
# `cmake --install` and by the package. Used by run.sh and package.sh.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-run"
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBUILD_TESTING=OFF -DQUINABEL_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$build" --target quinabel -j "$(nproc)"
