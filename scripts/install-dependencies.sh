#!/usr/bin/env bash
# Installs what Quinabel needs to build, test and run on Debian 12: the compiler and CMake, Qt 6
# (Core, Gui, Widgets, PrintSupport, Test), SQLite 3, and the Liberation fonts that stand in for
# Arial and Courier New. Installs only what is missing; runs as root or through sudo.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev libxkbcommon-dev
  libsqlite3-dev
  fonts-liberation fonts-liberation2 fontconfig
)
# The results import opens the lottery's spreadsheet (a zip container) with QuaZip, and shows its
# file dialog with Qt's own Brazilian Portuguese texts.
packages+=(libquazip1-qt6-dev qt6-translations-l10n)
# Screenshots and looking at printed pages need a virtual display and PDF tools.
if [[ "${1:-}" == "--with-display-tools" ]]; then
  packages+=(xvfb xauth x11-apps poppler-utils imagemagick)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]} == 0)); then
  exit 0
fi

sudo=""
if [[ "$(id -u)" -ne 0 ]]; then
  sudo="sudo"
fi
echo "Instalando: ${missing[*]}"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
