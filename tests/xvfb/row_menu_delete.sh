#!/usr/bin/env bash
# Starts the program under test under Xvfb, in a sandboxed home, on a
# folder of two pictures, right-clicks the magenta one's thumbnail, chooses the list
# menu's last entry "削除" with the keyboard and confirms with Return. The file must land
# in the sandbox's trash (never deleted for good), its row must leave the list, and the
# other picture must stay.
set -euo pipefail
program="$1"
source "$(dirname "$0")/sandbox.sh"

# A blank, a quote and Japanese in the name that goes; a picture of another colour stays.
# The list's first row ends selected, its thumbnail tinted: the one that goes is second.
pics="$sandbox/pics"
mkdir -p "$pics"
gone="$pics/消す \"b\" #1.png"
kept="$pics/0-keep.png"
convert -size 400x300 xc:'#ff00ff' "$gone"
convert -size 400x300 xc:'#00ffff' "$kept"

# The bounding box of a colour's pixels on screen, "WxH+X+Y"; empty when none show.
box_of() {
  local b
  b=$(convert "$1" -alpha off -fuzz 10% -fill black +opaque "$2" -fill white -opaque "$2" \
    -format '%@' info: 2>/dev/null || true)
  case "$b" in 0x0* | "") echo "" ;; *) echo "$b" ;; esac
}

start_program "$program" "$pics"
id=$(wait_for_window)
if [ -z "$id" ]; then
  bad "no window captioned ペルマリス appeared"; cat "$sandbox/out.log"; finish
fi

shot="$sandbox/shot.png"
box=""
for _ in $(seq 1 40); do
  sleep 0.5
  import -window root "$shot" 2>/dev/null || continue
  box=$(box_of "$shot" '#ff00ff')
  [ -n "$box" ] && break
done
if [ -z "$box" ]; then
  bad "the magenta thumbnail did not appear"; cat "$sandbox/out.log"; finish
fi
read -r w h x y <<<"$(sed 's/[x+]/ /g' <<<"$box")"
cx=$((x + w / 2))
cy=$((y + h / 2))
ok "magenta thumbnail at ${cx},${cy}"

# The menu opens under the pointer; until the pointer moves, no entry is active, so Up
# reaches the last enabled entry, "削除".
xdotool mousemove --sync "$cx" "$cy" click 3
sleep 1
xdotool key Up
sleep 0.3
xdotool key Return
# The trash confirmation, "はい" by default.
sleep 1
xdotool key Return

trashed=""
for _ in $(seq 1 30); do
  [ ! -e "$gone" ] && [ -n "$(ls -A "$XDG_DATA_HOME/Trash/files" 2>/dev/null)" ] && { trashed=yes; break; }
  sleep 0.2
done
if [ -n "$trashed" ]; then ok "the file left its folder for the trash"; else bad "the file was not moved to the trash"; fi
name=$(basename "$gone")
if [ -f "$XDG_DATA_HOME/Trash/files/$name" ] && [ -f "$XDG_DATA_HOME/Trash/info/$name.trashinfo" ]; then
  ok "the trash holds the file under its own name"
else
  bad "trash holds: $(ls -A "$XDG_DATA_HOME/Trash/files" 2>/dev/null | tr '\n' ' ')"
fi
[ -e "$kept" ] && ok "the other picture stays" || bad "the other picture is gone"

row_gone=""
for _ in $(seq 1 20); do
  sleep 0.3
  import -window root "$shot" 2>/dev/null || continue
  if [ -z "$(box_of "$shot" '#ff00ff')" ]; then row_gone=yes; break; fi
done
[ -n "${SHOT_DIR:-}" ] && cp "$shot" "$SHOT_DIR/row_menu_delete.png"
if [ -n "$row_gone" ]; then ok "the row left the list"; else bad "the list still shows the deleted picture"; fi

pkill -P "$pid" 2>/dev/null || true
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
pid=""
finish
