#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program, optionally on a folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); start it from a desktop session, or under xvfb-run" >&2
  exit 1
fi
exec build/Pelmaris "$@"
