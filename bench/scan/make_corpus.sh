#!/bin/sh
# Makes a synthetic corpus for bench_scan under a folder (default /tmp/pelmaris-corpus):
#   photos/   photo-like JPEGs, 1920x1080 to 4000x3000 (some with an EXIF turn)
#   mixed/    PNG with alpha, GIF, BMP, TIFF, WebP, damaged and mislabelled files
#   other/    many small non-image files in deeply nested folders
# Sizes: PHOTOS (default 240), OTHERS (default 30000).
set -eu
OUT=${1:-/tmp/pelmaris-corpus}
PHOTOS=${PHOTOS:-240}
OTHERS=${OTHERS:-30000}
mkdir -p "$OUT/photos" "$OUT/mixed" "$OUT/other" "$OUT/.base"

# A few fractal-noise bases (slow to make), then cheap variations of them.
for i in 0 1 2 3; do
  [ -f "$OUT/.base/$i.png" ] || convert -seed $((i + 1)) -size 2000x1500 plasma:fractal \
      -blur 0x1 "$OUT/.base/$i.png"
done

sizes="1920x1080 2592x1944 3264x2448 4000x3000"
n=0
while [ $n -lt "$PHOTOS" ]; do
  set -- $sizes
  shift $((n % 4))
  size=$1
  base=$((n % 4))
  dir="$OUT/photos/album$((n / 40))"
  mkdir -p "$dir"
  f="$dir/IMG_$(printf %04d $n).jpg"
  if [ ! -f "$f" ]; then
    orient=""
    [ $((n % 10)) -eq 0 ] && orient="-orient RightTop"
    convert "$OUT/.base/$base.png" -resize "$size!" -modulate 100,$((80 + n % 40)),$((n * 7 % 200)) \
        -quality $((80 + n % 15)) $orient "$f" &
    [ $((n % 2)) -eq 1 ] && wait
  fi
  n=$((n + 1))
done
wait

m="$OUT/mixed"
for i in $(seq 0 19); do
  [ -f "$m/alpha$i.png" ] || convert "$OUT/.base/$((i % 4)).png" -resize 800x600 -alpha set \
      -channel A -evaluate set 60% +channel "$m/alpha$i.png"
  [ -f "$m/anim$i.gif" ] || convert "$OUT/.base/$((i % 4)).png" -resize 480x360 -colors 64 "$m/anim$i.gif"
  [ -f "$m/pic$i.webp" ] || convert "$OUT/.base/$((i % 4)).png" -resize 1024x768 -quality 80 "$m/pic$i.webp"
done
for i in $(seq 0 9); do
  [ -f "$m/scan$i.bmp" ] || convert "$OUT/.base/$((i % 4)).png" -resize 1024x768 "$m/scan$i.bmp"
  [ -f "$m/page$i.tif" ] || convert "$OUT/.base/$((i % 4)).png" -resize 1200x900 -compress lzw "$m/page$i.tif"
  src=$(ls "$OUT"/photos/album0/*.jpg | head -n $((i + 1)) | tail -n 1)
  head -c 20000 "$src" > "$m/truncated$i.jpg"            # cut short
  head -c 2000 /dev/urandom > "$m/noise$i.jpg"           # not a picture at all
  echo "plain text named as a picture" > "$m/words$i.jpg"
  cp "$m/alpha$i.png" "$m/png-named$i.jpg"               # a PNG by content
done

python3 - "$OUT/other" "$OTHERS" <<'PY'
import os, sys
root, count = sys.argv[1], int(sys.argv[2])
for i in range(count):
    depth = i % 24
    d = os.path.join(root, *[f"level{k}" for k in range(depth)], f"box{i % 50}")
    os.makedirs(d, exist_ok=True)
    p = os.path.join(d, f"note{i}.txt" if i % 3 else f"data{i}.bin")
    if not os.path.exists(p):
        with open(p, "w") as f:
            f.write(f"file {i}\n")
PY
echo "corpus in $OUT: $(find "$OUT" -type f -not -path '*/.base/*' | wc -l) files"
