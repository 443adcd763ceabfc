#!/usr/bin/env bash
# Starts the program under test on a folder, under Xvfb in a sandboxed
# home, and checks from outside that the folder's images are listed with thumbnails: the
# fixtures are solid red, green and blue pictures, and each must show on screen as a
# thumbnail-sized block of its colour (a 400 x 300 picture is drawn 96 x 72).
set -euo pipefail
program="$1"
source "$(dirname "$0")/sandbox.sh"

# The first row ends selected and its thumbnail is tinted, so it is a grey one; files that
# are not pictures (a text file, one named .jpg) must not disturb the list.
pics="$sandbox/pics"
mkdir -p "$pics/sub"
convert -size 400x300 xc:'#808080' "$pics/0-grey.png"
convert -size 400x300 xc:'#ff0000' -quality 95 "$pics/1-red.jpg"
convert -size 400x300 xc:'#00ff00' "$pics/sub/2-green.png"
convert -size 300x400 xc:'#0000ff' -quality 95 "$pics/sub/3-blue.jpg"
echo "not a picture" >"$pics/4-words.jpg"
echo "notes" >"$pics/notes.txt"

# Pixels of the screenshot within 10 % of a colour.
count() {
  convert "$1" -alpha off -fuzz 10% -fill black +opaque "$2" -fill white -opaque "$2" \
    -colorspace gray -format '%[fx:round(mean*w*h)]' info:
}

start_program "$program" "$pics"
id=$(wait_for_window)
if [ -z "$id" ]; then
  echo "FAIL: no window captioned ペルマリス appeared"; cat "$sandbox/out.log"; exit 1
fi

# 96 x 72 = 6,912 pixels per thumbnail; a picture shown at full size would be far more.
shot="$sandbox/shot.png"
ok=""
for _ in $(seq 1 40); do
  sleep 0.5
  import -window root "$shot" 2>/dev/null || continue
  red=$(count "$shot" '#ff0000')
  green=$(count "$shot" '#00ff00')
  blue=$(count "$shot" '#0000ff')
  if [ "$red" -ge 5000 ] && [ "$green" -ge 5000 ] && [ "$blue" -ge 5000 ]; then
    ok=yes
    break
  fi
done
[ -n "${SHOT_DIR:-}" ] && cp "$shot" "$SHOT_DIR/folder_argument.png"
echo "red=$red green=$green blue=$blue pixels"
if [ -z "$ok" ]; then
  echo "FAIL: the three thumbnails did not all appear within 20 s"; cat "$sandbox/out.log"; exit 1
fi
for n in "$red" "$green" "$blue"; do
  [ "$n" -le 20000 ] || { echo "FAIL: $n pixels of one colour is more than a thumbnail"; exit 1; }
done
pkill -P "$pid" 2>/dev/null || true
kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true
pid=""
echo "1 passed, 0 failed"
