#!/usr/bin/env bash
# Starts the program under test under Xvfb, in a sandboxed home, and
# checks that its window maps with the program's caption at three quarters of the screen.
set -euo pipefail
program="$1"
source "$(dirname "$0")/sandbox.sh"

check() {
  start_program "$program" "$@"
  local id=$(wait_for_window)
  if [ -z "$id" ]; then
    echo "FAIL: no window captioned ペルマリス appeared"; cat "$sandbox/out.log"; exit 1
  fi
  sleep 1
  local width height
  width=$(xwininfo -id "$id" | awk '/Width:/ {print $2}')
  height=$(xwininfo -id "$id" | awk '/Height:/ {print $2}')
  echo "window $id ${width}x${height}"
  # Three quarters of the 1600 x 1000 screen.
  [ "$width" -eq 1200 ] && [ "$height" -eq 750 ] || { echo "FAIL: size ${width}x${height}"; exit 1; }
  if [ -n "${SHOT_DIR:-}" ]; then import -window root "$SHOT_DIR/window.png" || true; fi
  pkill -P "$pid" 2>/dev/null || true
  kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true
  pid=""
}

check
echo "1 passed, 0 failed"
