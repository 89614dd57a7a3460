#!/usr/bin/env bash
# Installs what is missing, builds the program alone (no tests, no benchmarks) in build-package/
# and makes the Debian package quinabel_<version>_<arch>.deb with CPack, in the folder given
# (default: the repository's root). Install it with: sudo apt install ./quinabel_<version>_amd64.deb
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$(realpath -m "${1:-$root}")"
build="$root/build-package"
"$root/scripts/install-dependencies.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DBUILD_TESTING=OFF -DQUINABEL_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target quinabel -j "$(nproc)"
mkdir -p "$out"
(cd "$build" && cpack -G DEB -B "$build/cpack" >/dev/null)
cp "$build"/cpack/quinabel_*.deb "$out"/
ls "$out"/quinabel_*.deb
