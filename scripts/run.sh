#!/usr/bin/env bash
# Installs what is missing, builds the program alone (no tests, no benchmarks, in build-run/), and
# starts Quinabel in its working folder (default ~/Quinabel, created on first use), where the
# program keeps its table files.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
folder="${1:-$HOME/Quinabel}"
"$root/scripts/install-dependencies.sh"
"$root/scripts/build-program.sh"
mkdir -p "$folder"
cd "$folder"
exec "$root/build-run/app/quinabel"
