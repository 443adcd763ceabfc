#!/bin/sh
# Runs bench_scan beside its references on one corpus and prints the figures side by
# side. Usage: run_bench.sh BENCH_SCAN_BINARY [CORPUS]
set -eu
BIN=$1
CORPUS=${2:-/tmp/pelmaris-corpus}
PHOTOS="$CORPUS/photos"
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

now() { date +%s.%N; }
rate() { awk -v n="$1" -v a="$2" -v b="$3" 'BEGIN { printf "%.1f", n / (b - a) }'; }

njpeg=$(find "$PHOTOS" -type f -name '*.jpg' | wc -l)
nfiles=$(find "$CORPUS" -type f | wc -l)
find "$CORPUS" -type f > /dev/null # warm the directory cache

echo "== list building over $njpeg JPEG photos =="
"$BIN" --threads 2 "$PHOTOS" | tee "$TMP/ours"
ours=$(awk -F': ' '/images listed per second/ { print $2 }' "$TMP/ours")

mkdir -p "$TMP/vips"
t0=$(now)
find "$PHOTOS" -type f -name '*.jpg' -print0 \
  | xargs -0 -P2 -n 20 vipsthumbnail --size 96x96 -o "$TMP/vips/%s.jpg"
t1=$(now)
vips=$(rate "$njpeg" "$t0" "$t1")

t0=$(now)
find "$PHOTOS" -type f -name '*.jpg' -print0 \
  | xargs -0 -P2 -I{} djpeg -scale 1/8 -outfile /dev/null {}
t1=$(now)
djpeg=$(rate "$njpeg" "$t0" "$t1")

echo "== enumeration of $nfiles files =="
"$BIN" --walk-only "$CORPUS" | tee "$TMP/walk"
walk=$(awk -F': ' '/files enumerated per second/ { print $2 }' "$TMP/walk")
findrate=0
for round in 1 2 3 4 5; do # best of five, as bench_scan does
  t0=$(now)
  find "$CORPUS" -type f > /dev/null
  t1=$(now)
  findrate=$(awk -v a="$findrate" -v b="$(rate "$nfiles" "$t0" "$t1")" 'BEGIN { print (b > a ? b : a) }')
done

echo "== memory per listed image, whole corpus, list scaled to 100,000 rows =="
"$BIN" --rows 100000 "$CORPUS" | tee "$TMP/mem"

echo
echo "== side by side =="
awk -v o="$ours" -v v="$vips" -v d="$djpeg" -v w="$walk" -v f="$findrate" 'BEGIN {
  printf "list building   %8.1f images/s | vipsthumbnail x2 %8.1f (x%.2f, target >= 1.5) | djpeg 1/8 x2 %8.1f (x%.2f, target >= 1.0)\n", o, v, o / v, d, o / d
  printf "enumeration     %8.0f files/s  | find -type f     %8.0f (%.0f%%, target >= 80%%)\n", w, f, 100 * w / f
}'
grep "per listed image" "$TMP/mem"
