#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite (offscreen, no display needed; the
# real-window test starts its own virtual display and window manager).
# With --sanitize the suite runs in a separate build with AddressSanitizer and
# UndefinedBehaviorSanitizer, and any finding fails the run.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-dependencies.sh"
build="$root/build"
if [[ "${1:-}" == "--sanitize" ]]; then
  build="$root/build-sanitize"
  export QUINABEL_SANITIZE=1
  # strndup is not checked: the X keyboard library (libxkbcommon-x11) copies length-bounded,
  # unterminated names out of X replies with it, which the strict string checks take for an overflow
  # in every test on a real X display.
  export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1:strict_string_checks=1:intercept_strndup=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi
"$root/scripts/build.sh" "$build"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j 2
