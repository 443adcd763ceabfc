#!/bin/sh
# Runs bench_scan beside its references on one corpus and prints the figures side by
# side. Usage: run_bench.sh BENCH_SCAN_BINARY [CORPUS]
#
# The machine may be shared: the list-building figures are the medians of ROUNDS
# (default 3) rounds, each round running every contender once, close together. Each
# figure is given twice: images per second on the clock, and images per second of
# processor time (all threads and processes together), which a busy machine disturbs
# far less. BASELINE=OLD_BENCH_SCAN_BINARY adds an earlier build's list building to each
# round, so the first scan with the thumbnail cache can be held against it.
set -eu
BIN=$1
CORPUS=${2:-/tmp/pelmaris-corpus}
ROUNDS=${ROUNDS:-3}
BASELINE=${BASELINE:-}
PHOTOS="$CORPUS/photos"
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

field() { awk -F': ' -v key="$1" '$1 == key { print $2 }' "$2"; }
# Runs a command under time(1) and appends "wall-rate cpu-rate" for N images to FILE.
timed() {
  file=$1 n=$2
  shift 2
  /usr/bin/time -f "%e %U %S" -o "$TMP/time" "$@" > "$TMP/out" 2>/dev/null
  tail -n 1 "$TMP/time" | awk -v n="$n" '{ printf "%.1f %.1f\n", n / $1, n / ($2 + $3) }' >> "$file"
}
# From bench_scan's own lines: "... listed in W s, R images/s, processor P s".
phase() { awk -F', ' -v key="$1" -v n="$2" 'index($0, key) == 1 {
  split($1, w, " in "); split($3, p, " "); printf "%.1f %.1f\n", n / w[2], n / p[2] }' "$3"; }

njpeg=$(find "$PHOTOS" -type f -name '*.jpg' | wc -l)
nfiles=$(find "$CORPUS" -type f | wc -l)
find "$CORPUS" -type f > /dev/null # warm the directory and page caches
find "$PHOTOS" -type f -name '*.jpg' -exec cat {} + > /dev/null

echo "== list building over $njpeg JPEG photos, $ROUNDS rounds (images/s on the clock, per processor second) =="
for round in $(seq 1 "$ROUNDS"); do
  timed "$TMP/r.ours" "$njpeg" "$BIN" --threads 2 "$PHOTOS"
  timed "$TMP/r.bare" "$njpeg" "$BIN" --threads 2 --bare "$PHOTOS"
  # The first scan as a whole process, like the others; then both scans in one process
  # for the second scan against the first. Each in a cache folder of its own, removed
  # only at the end: a first scan seldom follows the deletion of thousands of files.
  mkdir -p "$TMP/cache$round.first" "$TMP/cache$round.both"
  timed "$TMP/r.cold" "$njpeg" "$BIN" --threads 2 --cache "$TMP/cache$round.first" --first-only "$PHOTOS"
  "$BIN" --threads 2 --cache "$TMP/cache$round.both" "$PHOTOS" > "$TMP/cached" 2>/dev/null
  phase "first scan" "$njpeg" "$TMP/cached" >> "$TMP/r.first"
  phase "second scan (" "$njpeg" "$TMP/cached" >> "$TMP/r.warm"
  [ -n "$BASELINE" ] && timed "$TMP/r.base" "$njpeg" "$BASELINE" --threads 2 "$PHOTOS"
  mkdir -p "$TMP/vips"
  timed "$TMP/r.vips" "$njpeg" sh -c "find '$PHOTOS' -type f -name '*.jpg' -print0 \
    | xargs -0 -P2 -n 20 vipsthumbnail --size 96x96 -o '$TMP/vips/%s.jpg'"
  timed "$TMP/r.djpeg" "$njpeg" sh -c "find '$PHOTOS' -type f -name '*.jpg' -print0 \
    | xargs -0 -P2 -I{} djpeg -scale 1/8 -outfile /dev/null {}"
  echo "round $round: ours $(tail -n 1 "$TMP/r.ours") | first scan $(tail -n 1 "$TMP/r.cold")" \
       "| second scan $(tail -n 1 "$TMP/r.warm") (first $(tail -n 1 "$TMP/r.first")) | bare decode $(tail -n 1 "$TMP/r.bare")" \
       "| vipsthumbnail $(tail -n 1 "$TMP/r.vips") | djpeg $(tail -n 1 "$TMP/r.djpeg")" \
       "${BASELINE:+| baseline $(tail -n 1 "$TMP/r.base")}"
done
cat "$TMP/cached"

# One line per round: NAME CLOCK PROCESSOR for every contender.
for name in ours bare cold first warm base vips djpeg; do
  [ -f "$TMP/r.$name" ] && awk -v name="$name" '{ print NR, name, $1, $2 }' "$TMP/r.$name"
done > "$TMP/rounds"

echo "== enumeration of $nfiles files =="
"$BIN" --walk-only "$CORPUS" 2>/dev/null | tee "$TMP/walk"
walk=$(field "files enumerated per second" "$TMP/walk")
findrate=0
for round in 1 2 3 4 5; do # best of five, as bench_scan does
  /usr/bin/time -f "%e" -o "$TMP/time" find "$CORPUS" -type f > /dev/null
  findrate=$(awk -v a="$findrate" -v n="$nfiles" '{ r = n / $1; print (r > a ? r : a) }' "$TMP/time")
done

echo "== memory per listed image, whole corpus, list scaled to 100,000 rows =="
"$BIN" --rows 100000 "$CORPUS" 2>/dev/null | tee "$TMP/mem"

echo
echo "== side by side: medians over $ROUNDS rounds of each round's figures (clock | processor) =="
# Ratios are taken within a round, whose contenders ran close together, and then the
# median of them: the load of a shared machine changes between rounds more than within.
awk -v e="$walk" -v f="$findrate" '
  function median(list,    n, v, i, j, t) {
    n = split(list, v, " ")
    for (i = 2; i <= n; i++)
      for (j = i; j > 1 && v[j - 1] + 0 > v[j] + 0; j--) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
    return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
  }
  function both(a, b, scale,    r, c, p) {
    c = ""; p = ""
    for (r = 1; r <= rounds; r++) {
      if (!((r, a) in clock) || !((r, b) in clock)) continue
      c = c " " scale * clock[r, a] / clock[r, b]; p = p " " scale * cpu[r, a] / cpu[r, b]
    }
    return sprintf("x%.2f | x%.2f", median(c), median(p))
  }
  function rate(a,    r, c, p) {
    c = ""; p = ""
    for (r = 1; r <= rounds; r++) if ((r, a) in clock) { c = c " " clock[r, a]; p = p " " cpu[r, a] }
    return sprintf("%7.1f | %7.1f", median(c), median(p))
  }
  { clock[$1, $2] = $3; cpu[$1, $2] = $4; if ($1 > rounds) rounds = $1; seen[$2] = 1 }
  END {
    printf "list building                  %s images/s\n", rate("ours")
    printf "  / vipsthumbnail x2 (%s): %s (target >= 1.6)\n", rate("vips"), both("ours", "vips", 1)
    printf "  / djpeg 1/8 x2     (%s): %s\n", rate("djpeg"), both("ours", "djpeg", 1)
    printf "  / bare 1/8 decode  (%s): %s\n", rate("bare"), both("ours", "bare", 1)
    if ("base" in seen)
      printf "  / baseline build   (%s): %s\n", rate("base"), both("ours", "base", 1)
    printf "first scan with the cache      %s images/s\n", rate("cold")
    printf "  / build without the cache: %s\n", both("cold", "ours", 1)
    if ("base" in seen)
      printf "  / baseline build:          %s (target >= 0.91, at most 10%% slower)\n", both("cold", "base", 1)
    printf "second scan from the cache     %s images/s\n", rate("warm")
    printf "  / first scan:              %s (target >= 10)\n", both("warm", "first", 1)
    printf "enumeration      %8.0f files/s | find -type f %8.0f (%.0f%%)\n", e, f, 100 * e / f
  }' "$TMP/rounds"
grep "per listed image" "$TMP/mem"
