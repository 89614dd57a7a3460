#!/usr/bin/env bash
# Configures and builds Quinabel into build/ (or the folder given), Release with debug info.
# QUINABEL_SANITIZE=1 builds with AddressSanitizer and UndefinedBehaviorSanitizer, without the
# benchmarks: they are timed in the plain build only, and the sanitized copy would only cost time.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
sanitize=OFF
bench=ON
if [[ "${QUINABEL_SANITIZE:-0}" == "1" ]]; then
  sanitize=ON
  bench=OFF
fi
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUINABEL_SANITIZE="$sanitize" \
  -DQUINABEL_BUILD_BENCH="$bench" >/dev/null
cmake --build "$build" -j "$(nproc)"
