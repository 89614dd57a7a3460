#!/usr/bin/env bash
# Remakes the README's two pictures in docs/images: the main window with the real draw history and
# some games generated, and an A4 page of bet slips. They are drawn offscreen by the end-to-end
# test, so no display is needed.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-dependencies.sh"
"$root/scripts/build.sh"
QT_QPA_PLATFORM=offscreen QUINABEL_SCREENSHOTS="$root/docs/images" \
  "$root/build/tests/ui/tst_endtoend" screenshots
echo "Imagens gravadas em $root/docs/images"
