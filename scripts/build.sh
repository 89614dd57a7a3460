#!/usr/bin/env bash
# Configures and builds Quinabel into build/ (or the folder given), Release with debug info.
# QUINABEL_SANITIZE=1 builds with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
sanitize=OFF
if [[ "${QUINABEL_SANITIZE:-0}" == "1" ]]; then
  sanitize=ON
fi
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUINABEL_SANITIZE="$sanitize" >/dev/null
cmake --build "$build" -j "$(nproc)"
