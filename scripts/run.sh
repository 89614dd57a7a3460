#!/usr/bin/env bash
# Installs what is missing, builds the program and its help page only (no tests, no benchmarks,
# in build-run/), and starts Quinabel in its working folder (default ~/Quinabel, created on first
# use), where the program keeps its table files.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
folder="${1:-$HOME/Quinabel}"
build="$root/build-run"
"$root/scripts/install-dependencies.sh"
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBUILD_TESTING=OFF -DQUINABEL_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$build" --target quinabel -j "$(nproc)"
mkdir -p "$folder"
cd "$folder"
exec "$build/app/quinabel"
