#!/bin/sh
# Makes the corpora of bench_walk and bench_window under a folder (default
# /tmp/pelmaris-walk):
#   walk/   200,000 empty files in 5,000 folders (50 x 100), named as a camera names them
#   one/    100,000 small JPEGs in one folder
#   many/   100,000 small JPEGs in 500 folders of 200
# Sizes: FILES (default 200000), FOLDERS (default 5000), IMAGES (default 100000).
set -eu
OUT=${1:-/tmp/pelmaris-walk}
FILES=${FILES:-200000}
FOLDERS=${FOLDERS:-5000}
IMAGES=${IMAGES:-100000}
mkdir -p "$OUT/.base"

colours="red blue green orange purple gray navy teal"
i=0
for a in $colours; do
  for b in white black; do
    [ -f "$OUT/.base/$i.jpg" ] || convert -size 160x120 "gradient:$a-$b" -quality 85 "$OUT/.base/$i.jpg"
    i=$((i + 1))
  done
done

python3 - "$OUT" "$FILES" "$FOLDERS" "$IMAGES" <<'PY'
import os, sys
out, files, folders, images = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
bases = [open(os.path.join(out, ".base", f"{i}.jpg"), "rb").read() for i in range(16)]

def make(path, data):
    if not os.path.exists(path):
        with open(path, "wb") as f:
            f.write(data)

top = max(1, folders // 100)
per = files // folders
for d in range(folders):
    folder = os.path.join(out, "walk", f"{2000 + d // 100 % top}", f"{d % 100:03d}_trip-{d}")
    os.makedirs(folder, exist_ok=True)
    for f in range(per):
        make(os.path.join(folder, f"IMG_{d * per + f:06d}.JPG"), b"")

one = os.path.join(out, "one")
os.makedirs(one, exist_ok=True)
for n in range(images):
    make(os.path.join(one, f"img{n:06d}.jpg"), bases[n % 16])
for n in range(images):
    folder = os.path.join(out, "many", f"set{n // 200:03d}")
    os.makedirs(folder, exist_ok=True)
    make(os.path.join(folder, f"img{n:06d}.jpg"), bases[n % 16])
PY
for d in walk one many; do
  echo "$OUT/$d: $(find "$OUT/$d" -type f | wc -l) files in $(find "$OUT/$d" -type d | wc -l) folders"
done
