#!/usr/bin/env bash
# Installs what is missing, builds the program alone in build-run/ (the build run.sh uses) and makes
# the Debian package quinabel_<version>_<arch>.deb with CPack, in the folder given (default: the
# repository's root). Install it with: sudo apt install ./quinabel_<version>_amd64.deb
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$(realpath -m "${1:-$root}")"
build="$root/build-run"
"$root/scripts/install-dependencies.sh"
"$root/scripts/build-program.sh"
rm -rf "$build/cpack"
(cd "$build" && cpack -G DEB -B "$build/cpack" >/dev/null)
mkdir -p "$out"
cp "$build"/cpack/quinabel_*.deb "$out"/
ls "$out"/quinabel_*.deb
