#!/bin/sh
# Lists a folder of large mixed pictures (make_wallpaper_corpus.sh) with bench_scan and
# makes thumbnails of the same pictures with the desktop's thumbnailers, each on two
# processes, and prints the figures side by side: whole process beside whole process.
# Usage: run_wallpaper_bench.sh BENCH_SCAN_BINARY [CORPUS]
#
# Medians over ROUNDS (default 3) rounds, each round running every contender once,
# close together. BASELINE=OLD_BENCH_SCAN_BINARY adds an earlier build to each round.
#   vipsthumbnail            batches of 20 files a process, as in run_bench.sh
#   gdk-pixbuf-thumbnailer   one process a file at 128 pixels, as file managers run it
#                            (WebP only with webp-pixbuf-loader installed: "made" tells)
set -eu
BIN=$1
CORPUS=${2:-/tmp/pelmaris-wallpapers}
ROUNDS=${ROUNDS:-3}
BASELINE=${BASELINE:-}
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

# Runs a command under time(1) and appends "clock-seconds processor-seconds" to FILE.
# Only the last line holds the times: a command that fails (a thumbnailer refusing a
# file) makes time(1) write a line about its exit status first.
timed() {
  file=$1
  shift
  /usr/bin/time -f "%e %U %S" -o "$TMP/time" "$@" > "$TMP/out" 2>/dev/null || true
  tail -n 1 "$TMP/time" | awk '{ printf "%.2f %.2f\n", $1, $2 + $3 }' >> "$file"
}

find "$CORPUS" -type f -not -path '*/.*' \( -name '*.png' -o -name '*.webp' -o -name '*.jpg' \) \
  -print0 > "$TMP/pictures"
npictures=$(tr -cd '\0' < "$TMP/pictures" | wc -c)
nfiles=$(find "$CORPUS" -type f -not -path '*/.*' | wc -l)
for ext in png webp jpg; do
  printf "%s %s  " "$ext" "$(find "$CORPUS" -type f -not -path '*/.*' -name "*.$ext" | wc -l)"
done
echo "($npictures pictures among $nfiles files)"
xargs -0 cat < "$TMP/pictures" > /dev/null # warm the page cache
uptime

for round in $(seq 1 "$ROUNDS"); do
  timed "$TMP/r.ours" "$BIN" --threads 2 "$CORPUS"
  listed=$(awk '/^build:/ { print $2 }' "$TMP/out")
  [ -n "$BASELINE" ] && timed "$TMP/r.base" "$BASELINE" --threads 2 "$CORPUS"
  rm -rf "$TMP/vips" && mkdir -p "$TMP/vips"
  timed "$TMP/r.vips" sh -c "xargs -0 -P2 -n 20 vipsthumbnail --size 96x96 -o '$TMP/vips/%s.jpg' \
    < '$TMP/pictures'"
  vips=$(find "$TMP/vips" -type f | wc -l)
  rm -rf "$TMP/gdk" && mkdir -p "$TMP/gdk"
  timed "$TMP/r.gdk" sh -c "xargs -0 -P2 -I{} sh -c 'gdk-pixbuf-thumbnailer -s 128 \"\$1\" \
    \"$TMP/gdk/\$(basename \"\$1\").png\"' _ {} < '$TMP/pictures'"
  gdk=$(find "$TMP/gdk" -type f | wc -l)
  echo "round $round (seconds on the clock, processor): ours $(tail -n 1 "$TMP/r.ours") listed $listed" \
       "${BASELINE:+| baseline $(tail -n 1 "$TMP/r.base") }| vipsthumbnail $(tail -n 1 "$TMP/r.vips")" \
       "made $vips | gdk-pixbuf-thumbnailer $(tail -n 1 "$TMP/r.gdk") made $gdk"
done

for name in ours base vips gdk; do
  [ -f "$TMP/r.$name" ] && awk -v name="$name" '{ print NR, name, $1, $2 }' "$TMP/r.$name"
done > "$TMP/rounds"

echo
echo "== medians over $ROUNDS rounds (seconds: clock | processor; ratios: theirs / ours) =="
awk '
  function median(list,    n, v, i, j, t) {
    n = split(list, v, " ")
    for (i = 2; i <= n; i++)
      for (j = i; j > 1 && v[j - 1] + 0 > v[j] + 0; j--) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
    return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
  }
  function secs(a,    r, c, p) {
    c = ""; p = ""
    for (r = 1; r <= rounds; r++) if ((r, a) in clock) { c = c " " clock[r, a]; p = p " " cpu[r, a] }
    return sprintf("%6.2f | %6.2f", median(c), median(p))
  }
  # Ratios within a round, then their median: the load of a shared machine changes
  # between rounds more than within one.
  function ratio(a,    r, c, p) {
    c = ""; p = ""
    for (r = 1; r <= rounds; r++) {
      if (!((r, a) in clock)) continue
      c = c " " clock[r, a] / clock[r, "ours"]; p = p " " cpu[r, a] / cpu[r, "ours"]
    }
    return sprintf("x%.2f | x%.2f", median(c), median(p))
  }
  # The faster reference of each round.
  function best(    r, c, p, a) {
    c = ""; p = ""
    for (r = 1; r <= rounds; r++) {
      a = clock[r, "vips"] < clock[r, "gdk"] ? clock[r, "vips"] : clock[r, "gdk"]
      c = c " " a / clock[r, "ours"]
      a = cpu[r, "vips"] < cpu[r, "gdk"] ? cpu[r, "vips"] : cpu[r, "gdk"]
      p = p " " a / cpu[r, "ours"]
    }
    return sprintf("x%.2f | x%.2f", median(c), median(p))
  }
  { clock[$1, $2] = $3; cpu[$1, $2] = $4; if ($1 > rounds) rounds = $1; seen[$2] = 1 }
  END {
    printf "ours                          %s s\n", secs("ours")
    if ("base" in seen)
      printf "baseline build                %s s  %s\n", secs("base"), ratio("base")
    printf "vipsthumbnail x2, 20 a batch  %s s  %s\n", secs("vips"), ratio("vips")
    printf "gdk-pixbuf-thumbnailer x2     %s s  %s\n", secs("gdk"), ratio("gdk")
    printf "faster of the two / ours      %s (target >= 1.5)\n", best()
  }' "$TMP/rounds"
uptime
