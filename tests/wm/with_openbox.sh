#!/usr/bin/env bash
# Runs a window test in the X server that xvfb-run started, with openbox managing the
# windows: what a window manager decides (frames, moves, resizes by the border) shows
# only with one running. The test runs in a private home, so neither the user's openbox
# settings nor anything the test writes leave the sandbox.
set -euo pipefail
if ! command -v openbox >/dev/null || ! command -v xdotool >/dev/null || ! command -v xprop >/dev/null; then
  echo "openbox, xdotool or xprop is missing: run scripts/setup.sh"
  exit 1
fi
sandbox=$(mktemp -d)
wm=""
trap '[ -n "$wm" ] && kill "$wm" 2>/dev/null; rm -rf "$sandbox"' EXIT
export HOME="$sandbox/home" XDG_CONFIG_HOME="$sandbox/home/.config" XDG_RUNTIME_DIR="$sandbox/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb LANG=C.UTF-8
unset WAYLAND_DISPLAY QT_SCALE_FACTOR

openbox --sm-disable >"$sandbox/openbox.log" 2>&1 &
wm=$!
# The manager is ready once it has announced itself on the root window.
for _ in $(seq 1 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.05
done
if ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
  echo "openbox did not start"; cat "$sandbox/openbox.log"; exit 1
fi
"$@"
