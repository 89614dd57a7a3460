#!/usr/bin/env bash
# Installs what Quinabel needs to build, test and run on Debian 12: the compiler and CMake, Qt 6
# (Core, Gui, Widgets, PrintSupport, Test) and its Portuguese translations, SQLite 3, the Liberation
# fonts that stand in for Arial and Courier New, and CUPS with PyMuPDF for the printing test.
# Installs only what is missing; runs as root or through sudo.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev libxkbcommon-dev
  libsqlite3-dev
  fonts-liberation fonts-liberation2 fontconfig
  # The help link opens the help page through xdg-open; the package test validates the desktop
  # entry with desktop-file-validate.
  xdg-utils desktop-file-utils
  # Qt's own Brazilian Portuguese texts for its dialogs (print preview, print dialog, message boxes).
  qt6-translations-l10n
  # The printing test runs its own CUPS scheduler (cupsd, and lpadmin/lpstat to add queues and
  # look at jobs); it and the check report's test measure printed PDFs (positions, bold fonts)
  # with PyMuPDF.
  cups cups-client python3-fitz
  # The real-window test (tests/window) runs the program on a virtual display (xvfb, xauth) under
  # a small window manager (openbox), drives it with real keys and clicks (xdotool), closes windows
  # as their title bar does (wmctrl) and gives it a second application to switch to (x11-apps).
  xvfb xauth openbox xdotool wmctrl x11-apps
)
# The results import opens the lottery's spreadsheet (a zip container) with QuaZip.
packages+=(libquazip1-qt6-dev)
# It reads the saved results page with libxml2's HTML parser (entities, the page's declared
# encoding, the tags a browser forgives).
packages+=(libxml2-dev)
# Screenshots and looking at printed pages need PDF and image tools.
if [[ "${1:-}" == "--with-display-tools" ]]; then
  packages+=(poppler-utils imagemagick)
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
