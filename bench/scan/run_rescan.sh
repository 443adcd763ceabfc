#!/bin/sh
# The first scan and the rescan of an unchanged folder, each the whole program from its
# start to the built list (bench_window, offscreen), the rescan reusing the thumbnail
# cache the first scan wrote. Prints per round the two times on the clock and in
# processor time (all threads, which a busy machine disturbs far less), their ratios,
# and when the rescan's window was first painted.
# Usage: run_rescan.sh BENCH_WINDOW_BINARY FOLDER
# ROUNDS (default 3); BASELINE=OLD_BENCH_WINDOW_BINARY runs an earlier build beside it
# in each round, so both are measured under the same load.
set -eu
BIN=$1
FOLDER=$2
ROUNDS=${ROUNDS:-3}
BASELINE=${BASELINE:-}
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
find "$FOLDER" -type f -exec cat {} + > /dev/null # warm the page cache

# Runs one binary's first scan and rescan; prints "first rescan ratio painted".
pair() {
  mkdir -p "$TMP/cache.$2"
  for scan in first again; do
    /usr/bin/time -f "%e %U %S" -o "$TMP/time.$scan" "$1" --cache "$TMP/cache.$2" "$FOLDER" > "$TMP/out.$scan"
  done
  painted=$(sed -n 's/.*first painted *\([0-9]*\) ms.*/\1/p' "$TMP/out.again")
  awk -v p="$painted" '{ t[NR] = $1; c[NR] = $2 + $3 } END {
    printf "first scan %.2f s (processor %.2f s), rescan %.2f s (processor %.2f s): %.1fx (processor %.1fx); rescan painted at %d ms\n",
      t[1], c[1], t[2], c[2], t[1] / t[2], c[1] / c[2], p }' \
    "$TMP/time.first" "$TMP/time.again"
}
echo "$(grep -c processor /proc/cpuinfo) processors, load $(cut -d' ' -f1-3 /proc/loadavg)"
for round in $(seq 1 "$ROUNDS"); do
  echo "round $round: $(pair "$BIN" "$round.new")"
  [ -n "$BASELINE" ] && echo "round $round baseline: $(pair "$BASELINE" "$round.old")"
  echo "  load $(cut -d' ' -f1-3 /proc/loadavg)"
done
