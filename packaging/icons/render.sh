#!/usr/bin/env bash
# Renders the drawn icon into the fixed sizes the menus use, beside it under hicolor/.
# Run by hand after changing pelmaris.svg (needs chromium and imagemagick); the results
# are kept in the repository so that building needs neither.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '<html><body style="margin:0"><img src="file://%s" width="1024" height="1024"></body></html>' \
  "$here/pelmaris.svg" >"$work/page.html"
chromium --headless --no-sandbox --disable-gpu --hide-scrollbars \
  --default-background-color=00000000 --window-size=1024,1024 \
  --screenshot="$work/big.png" "file://$work/page.html" 2>/dev/null
for size in 16 24 32 48 64 128 256; do
  mkdir -p "$here/hicolor/${size}x${size}"
  # No time stamps, so that an unchanged drawing gives unchanged files.
  convert "$work/big.png" -resize "${size}x${size}" -strip -define png:exclude-chunks=date,time \
    "$here/hicolor/${size}x${size}/pelmaris.png"
done
