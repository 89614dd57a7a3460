#!/usr/bin/env bash
# Makes the Debian package from the build folder $1 with CPack, unpacks it with dpkg into a
# temporary root and checks it: the name, the control fields, every file the install puts under
# the prefix, the desktop entry (desktop-file-validate), that each library the program links
# belongs to a package of Depends, and that the unpacked program starts in the player's data
# folder.
set -euo pipefail
build="$1"
source="$2"
version="$3"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/cpack" >"$tmp/cpack.log") ||
  { cat "$tmp/cpack.log"; fail "cpack"; }
arch="$(dpkg --print-architecture)"
deb="$tmp/cpack/quinabel_${version}_${arch}.deb"
[[ -f "$deb" ]] || { ls "$tmp/cpack"; fail "no $deb"; }

# Control fields.
[[ "$(dpkg-deb -f "$deb" Package)" == quinabel ]] || fail "Package"
[[ "$(dpkg-deb -f "$deb" Version)" == "$version" ]] || fail "Version"
[[ "$(dpkg-deb -f "$deb" Architecture)" == "$arch" ]] || fail "Architecture"
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
declare -A listed=()
IFS=',' read -ra items <<<"$depends"
for item in "${items[@]}"; do
  name="$(sed -E 's/^ *//; s/[ (].*$//' <<<"$item")"
  listed[$name]=1
done
for p in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 qt6-qpa-plugins libsqlite3-0 \
  fonts-liberation qt6-translations-l10n xdg-utils libcups2; do
  [[ -n "${listed[$p]:-}" ]] || fail "Depends lacks $p"
done

# The files under the prefix.
root="$tmp/root"
dpkg -x "$deb" "$root"
usr="$root/usr"
[[ -x "$usr/bin/quinabel" ]] || fail "bin/quinabel"
cmp -s "$usr/share/quinabel/ajuda.html" "$source/docs/ajuda.html" || fail "share/quinabel/ajuda.html"
entry="$usr/share/applications/quinabel.desktop"
[[ -f "$entry" ]] || fail "the desktop entry"
cmp -s "$usr/share/icons/hicolor/scalable/apps/quinabel.svg" "$source/packaging/icons/quinabel.svg" ||
  fail "the scalable icon"
for size in 16 22 24 32 48 64 128 256; do
  png="$usr/share/icons/hicolor/${size}x${size}/apps/quinabel.png"
  [[ -f "$png" ]] || fail "icon $size"
  # A PNG's width and height are the big-endian words at bytes 16 and 20.
  dims="$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')"
  [[ "$dims" == "${size}x${size}" ]] || fail "icon $size is $dims"
done

# The desktop entry: valid, in Portuguese, and starting the packaged program with its icon.
desktop-file-validate "$entry" || fail "desktop-file-validate"
grep -qx 'Name=Quinabel' "$entry" || fail "Name"
grep -qx 'Comment=Escolha, custeie, confira e imprima seus jogos da Mega-Sena' "$entry" || fail "Comment"
grep -qE '^Categories=.*(Game|Utility);' "$entry" || fail "Categories"
grep -qx 'Icon=quinabel' "$entry" || fail "Icon"
exec_line="$(sed -n 's/^Exec=//p' "$entry")"
[[ "$exec_line" == "quinabel --pasta-do-jogador" ]] || fail "Exec is $exec_line"

# Every library the program links directly belongs to a package the package depends on.
for lib in $(readelf -d "$usr/bin/quinabel" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
  path="$("$(command -v ldconfig || echo /sbin/ldconfig)" -p | awk -v l="$lib" '$1 == l && !found { print $NF; found = 1 }')"
  [[ -n "$path" ]] || fail "$lib is not installed"
  owner="$(dpkg -S "$(readlink -f "$path")" 2>/dev/null || dpkg -S "$path")"
  owner="${owner%%:*}"
  [[ -n "${listed[$owner]:-}" ]] || fail "$lib belongs to $owner, which Depends lacks"
done

# The unpacked program, started as the desktop menu starts it, makes the player's data folder and
# works there: the weights it computes at start-up reach that folder when a signal closes it.
home="$tmp/home"
mkdir -p "$home"
HOME="$home" QT_QPA_PLATFORM=offscreen "$usr/bin/quinabel" --pasta-do-jogador &
pid=$!
for _ in $(seq 1 300); do
  [[ -d "$home/Quinabel" ]] && break
  sleep 0.1
done
sleep 2
kill -0 "$pid" 2>/dev/null || fail "the program ended at start-up"
kill -TERM "$pid"
wait "$pid" || fail "the program did not end normally"
[[ -f "$home/Quinabel/Aval.cds" ]] || fail "no Aval.cds in ~/Quinabel"
echo "package ok: $(basename "$deb")"
