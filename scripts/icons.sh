#!/usr/bin/env bash
# Renders the program's icon, packaging/icons/quinabel.svg, into the PNG sizes of the hicolor theme
# (packaging/icons/<size>/quinabel.png). The PNGs are committed, so building and packaging need no
# SVG renderer; run this again after changing the drawing. Uses MuPDF's Python binding.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dpkg-query -W -f='${Status}' python3-fitz 2>/dev/null | grep -q "install ok installed" ||
  { echo "Instale python3-fitz para desenhar os ícones." >&2; exit 1; }
/usr/bin/python3 - "$root/packaging/icons" <<'PY'
import sys, pathlib, fitz
icons = pathlib.Path(sys.argv[1])
doc = fitz.open(str(icons / "quinabel.svg"))
page = doc[0]
for size in (16, 22, 24, 32, 48, 64, 128, 256):
    folder = icons / f"{size}x{size}"
    folder.mkdir(exist_ok=True)
    zoom = size / page.rect.width
    page.get_pixmap(matrix=fitz.Matrix(zoom, zoom), alpha=True).save(str(folder / "quinabel.png"))
PY
