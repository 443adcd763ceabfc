#!/bin/sh
# Runs bench_window with the accessibility bridge on, as under a screen reader: on a
# private X server (Xvfb) and a private session bus, whose accessibility bus and
# registry the bus starts on demand (at-spi2-core).
# Usage: run_window_a11y.sh BENCH_WINDOW_BINARY FOLDER [more bench_window options]
set -eu
BIN=$1
shift
exec dbus-run-session -- xvfb-run -a -s "-screen 0 1920x1080x24" \
  env QT_QPA_PLATFORM=xcb NO_AT_BRIDGE=0 "$BIN" --accessibility "$@"
