#!/bin/sh
# Makes a corpus of large mixed pictures at wallpaper sizes under a folder (default
# /tmp/pelmaris-wallpapers), for the PNG and WebP paths beside the JPEG one:
#   png/    photographic and flat (palette) PNG, some grey, some with alpha, some
#           interlaced, 8 and 16 bits a sample
#   webp/   lossy and lossless WebP, some with alpha
#   jpeg/   JPEG
#   other/  small files that are no pictures, as a wallpaper folder has beside them
# Sizes from 1920x1080 to 5640x3172 and 4096x4096. Counts: PNGS (default 110), WEBPS
# (default 80), JPEGS (default 71), OTHERS (default 206). Files already there are kept.
set -eu
OUT=${1:-/tmp/pelmaris-wallpapers}
PNGS=${PNGS:-110}
WEBPS=${WEBPS:-80}
JPEGS=${JPEGS:-71}
OTHERS=${OTHERS:-206}
# The bases live beside the corpus, not in it: they are no wallpapers.
BASE=${BASE:-$OUT.bases}
mkdir -p "$OUT/png" "$OUT/webp" "$OUT/jpeg" "$OUT/other" "$BASE"

# A few fractal-noise bases (slow to make), then cheap variations of them.
for i in 0 1 2 3; do
  [ -f "$BASE/$i.png" ] || convert -seed $((i + 1)) -size 2000x1500 plasma:fractal \
      -blur 0x1 "$BASE/$i.png"
done

set -- 1920x1080 2560x1440 3840x2160 5640x3172 4096x4096
SIZES="$*"
size_of() { # the n-th size, round robin
  k=$(($1 % 5))
  set -- $SIZES
  shift $k
  echo "$1"
}

# One picture of kind $2 (photo or flat) at size $3, variation $4, written by convert
# with the remaining options to $1 (in the format $PREFIX names, if any).
make() {
  out=$1 kind=$2 size=$3 n=$4
  shift 4
  [ -f "$out" ] && return 0
  out=${PREFIX:-}$out
  if [ "$kind" = flat ]; then
    # Smooth gradients with a few hard shapes: what compresses to a small palette.
    convert -size "$size" "gradient:#$(printf %06x $((n * 7919 % 16777216)))-#204080" \
        -fill "#f0c040" -draw "circle $((n * 37 % 1000 + 400)),600 $((n * 37 % 1000 + 900)),900" \
        -fill "#ffffff" -draw "rectangle 100,100 900,300" "$@" "$out"
  else
    convert "$BASE/$((n % 4)).png" -resize "$size!" \
        -modulate 100,$((80 + n % 40)),$((n * 7 % 200)) "$@" "$out"
  fi
}

n=0
while [ $n -lt "$PNGS" ]; do
  size=$(size_of $n)
  f="$OUT/png/png$(printf %03d $n).png" # names unique without their extensions
  case $((n % 10)) in
    0 | 1) PREFIX=PNG8: make "$f" flat "$size" $n -colors 48 ;;             # palette
    2) make "$f" photo "$size" $n -interlace PNG ;;                        # Adam7
    3) make "$f" photo "$size" $n -depth 16 ;;                             # 16 bits
    4) make "$f" photo "$size" $n -alpha set -channel A -evaluate set 70% +channel ;;
    5) make "$f" photo "$size" $n -colorspace Gray ;;                      # grey
    6) make "$f" photo "$size" $n \( +clone -colorspace Gray \) -alpha off \
           -compose CopyOpacity -composite ;;                          # uneven alpha
    7) make "$f" photo "$size" $n -depth 16 -interlace PNG ;;
    *) make "$f" photo "$size" $n ;;
  esac &
  [ $((n % 2)) -eq 1 ] && wait
  n=$((n + 1))
done
wait

n=0
while [ $n -lt "$WEBPS" ]; do
  size=$(size_of $n)
  f="$OUT/webp/webp$(printf %03d $n).webp"
  case $((n % 10)) in
    0 | 1) make "$f" flat "$size" $n -define webp:lossless=true -define webp:method=0 ;;
    2) make "$f" photo "$size" $n -define webp:lossless=true -define webp:method=0 ;;
    3) make "$f" photo "$size" $n -alpha set -channel A -evaluate set 70% +channel -quality 80 ;;
    *) make "$f" photo "$size" $n -quality $((70 + n % 25)) ;;
  esac &
  [ $((n % 2)) -eq 1 ] && wait
  n=$((n + 1))
done
wait

n=0
while [ $n -lt "$JPEGS" ]; do
  f="$OUT/jpeg/jpeg$(printf %03d $n).jpg"
  make "$f" photo "$(size_of $n)" $n -quality $((80 + n % 15)) &
  [ $((n % 2)) -eq 1 ] && wait
  n=$((n + 1))
done
wait

n=0
while [ $n -lt "$OTHERS" ]; do
  f="$OUT/other/readme$n.txt"
  [ -f "$f" ] || echo "wallpaper notes $n" > "$f"
  n=$((n + 1))
done
echo "corpus in $OUT: $(find "$OUT" -type f | wc -l) files"
