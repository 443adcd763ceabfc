#!/usr/bin/env bash
# Starts the program under test under Xvfb, in a sandboxed home, on a
# folder of a few images, with a stand-in browser chosen in the settings file. Clicks
# "一括表示" and "選択表示" with xdotool and checks that each click started the stand-in
# on the page file, and that the page holds the images as percent-encoded file: URLs.
set -euo pipefail
program="$1"
source "$(dirname "$0")/sandbox.sh"

# A blank and Japanese in the names; a file that is found by the scan but is no picture.
pics="$sandbox/pics"
mkdir -p "$pics"
images=("a.png" "b b.png" "写真.png")
for name in "${images[@]}"; do convert -size 16x12 xc:red "$pics/$name"; done
echo notes >"$pics/notes.txt"

# The stand-in browser writes one line per start: each argument in brackets.
record="$sandbox/record.txt"
browser="$sandbox/browser.sh"
cat >"$browser" <<EOF
#!/bin/sh
for a in "\$@"; do printf '[%s]' "\$a"; done >>"$record"
printf '\n' >>"$record"
EOF
chmod +x "$browser"
: >"$record"

ini="$XDG_CONFIG_HOME/Wendelmoor/Pelmaris/Pelmaris.ini"
mkdir -p "$(dirname "$ini")"
tree_width=300
printf '[OPTION]\r\nBrowserDefault=0\r\nBrowserElse=1\r\nBrowserName=%s\r\nBrowserName2=%s\r\nTreeViewWidth=%s\r\n' \
  "$browser" "$browser" "$tree_width" >"$ini"

# The address the page must give a path: every byte but A-Z a-z 0-9 - . _ ~ / encoded.
file_url() {
  local LC_ALL=C s="$1" out="file://" c i
  for ((i = 0; i < ${#s}; i++)); do
    c="${s:i:1}"
    case "$c" in
      [A-Za-z0-9._~/-]) out+="$c" ;;
      *) out+=$(printf '%%%02X' "'$c") ;;
    esac
  done
  printf '%s' "$out"
}

records() { wc -l <"$record"; }

# Clicks at a point and reports whether the stand-in browser was started within a second.
click_starts_browser() {
  local before
  before=$(records)
  xdotool mousemove --sync "$1" "$2" click 1
  for _ in $(seq 1 10); do
    [ "$(records)" -gt "$before" ] && return 0
    sleep 0.1
  done
  return 1
}

start_program "$program" "$pics"
id=$(wait_for_window)
if [ -z "$id" ]; then
  bad "no window captioned ペルマリス appeared"; cat "$sandbox/out.log"; finish
fi
sleep 1
geometry=$(xwininfo -id "$id")
wx=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$geometry")
wy=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$geometry")
ww=$(awk '/Width:/ {print $2}' <<<"$geometry")
wh=$(awk '/Height:/ {print $2}' <<<"$geometry")
echo "window $id at ${wx},${wy} size ${ww}x${wh}"

# Both page buttons end their panels just above the layout row and the status bar, whose
# heights follow the font: walk up from the window's bottom edge, in the middle of the
# tree panel, until a click starts the browser. Everything passed over on the way (status
# bar, layout row) is harmless to click; steps wider than the double-click distance.
x3=$((wx + tree_width / 2))
x1=$((wx + tree_width + (ww - tree_width) / 2))
bottom=$((wy + wh))
y=""
deadline=$((SECONDS + 60))
while [ -z "$y" ] && [ "$SECONDS" -lt "$deadline" ]; do
  # The walk over the folder may still be running, with the button greyed: try again.
  for up in $(seq 8 6 110); do
    if click_starts_browser "$x3" $((bottom - up)); then y=$((bottom - up)); break; fi
  done
done
if [ -z "$y" ]; then
  bad "一括表示 could not be clicked (no browser start)"; cat "$sandbox/out.log"; finish
fi
ok "一括表示 at ${x3},${y} started the stand-in browser"
# Walking up, the first hit lies within one step of the button's lower edge; the other
# button is clicked a little higher, well inside the row.
y=$((y - 8))
page_all=$(cat "$TMPDIR"/tmp*.html 2>/dev/null || true)
line_all=$(sed -n 1p "$record")

# "選択表示" sits on the same row; its rows exist once the list build has ended.
clicked=""
for _ in $(seq 1 30); do
  if click_starts_browser "$x1" "$y"; then clicked=yes; break; fi
  sleep 1
done
if [ -z "$clicked" ]; then
  bad "選択表示 at ${x1},${y} started no browser"; finish
fi
ok "選択表示 at ${x1},${y} started the stand-in browser"
line_checked=$(sed -n 2p "$record")
if [ -n "${SHOT_DIR:-}" ]; then
  import -window root "$SHOT_DIR/gallery_buttons.png" &&
    convert "$SHOT_DIR/gallery_buttons.png" -fill none -stroke magenta \
      -draw "circle $x3,$((y + 8)) $((x3 + 5)),$((y + 8))" -draw "circle $x1,$y $((x1 + 5)),$y" \
      "$SHOT_DIR/gallery_buttons.png" || true
fi

# Each start got one argument: the page file, in the sandboxed temporary folder.
pages=("$TMPDIR"/tmp*.html)
if [ ${#pages[@]} -eq 1 ] && [ -f "${pages[0]}" ]; then ok "one page file ${pages[0]}"; else bad "page files: ${pages[*]}"; fi
page="${pages[0]}"
for line in "$line_all" "$line_checked"; do
  if [ "$line" = "[$page]" ]; then ok "browser started with the page path"; else bad "browser arguments $line, wanted [$page]"; fi
done
[ "$(records)" -eq 2 ] && ok "two browser starts" || bad "$(records) browser starts"

page_checked=$(cat "$page")
if [ "$(head -c 3 "$page" | od -An -tx1 | tr -d ' ')" = "efbbbf" ]; then ok "page has the byte-order mark"; else bad "page lacks the byte-order mark"; fi
has_image() { grep -qF "<img src=\"$(file_url "$2")\" title=" <<<"$1"; }
for name in "${images[@]}"; do
  has_image "$page_all" "$pics/$name" && ok "一括表示 page shows $name" || bad "一括表示 page lacks $(file_url "$pics/$name")"
  has_image "$page_checked" "$pics/$name" && ok "選択表示 page shows $name" || bad "選択表示 page lacks $(file_url "$pics/$name")"
done
# The whole scan includes the file that is no picture; the checked rows do not.
has_image "$page_all" "$pics/notes.txt" && ok "一括表示 page lists notes.txt" || bad "一括表示 page lacks notes.txt"
has_image "$page_checked" "$pics/notes.txt" && bad "選択表示 page lists notes.txt" || ok "選択表示 page leaves out notes.txt"

pkill -P "$pid" 2>/dev/null || true
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
pid=""
finish
