#!/usr/bin/env bash
# Runs the command given under a virtual X display of its own (Xvfb picks a free display number)
# with the openbox window manager, and ends both afterwards. The command's exit status is this
# script's.
set -uo pipefail
tmp="$(mktemp -d)"
xvfb=""
wm=""
cleanup() {
  [[ -n "$wm" ]] && kill "$wm" 2>/dev/null
  [[ -n "$xvfb" ]] && kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$tmp/display" >"$tmp/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 1 100); do
  [[ -s "$tmp/display" ]] && break
  sleep 0.1
done
[[ -s "$tmp/display" ]] || { cat "$tmp/xvfb.log" >&2; echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$tmp/display")"
openbox >"$tmp/openbox.log" 2>&1 &
wm=$!
sleep 0.5
"$@"
