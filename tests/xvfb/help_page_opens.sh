#!/usr/bin/env bash
# Starts the program under test under Xvfb, in a sandboxed home whose handler of HTML
# files is a stand-in, clicks the "ヘルプ" page and its "ヘルプ表示" button with xdotool,
# and checks that the stand-in was handed the help page the program should find: the
# second argument (beside the program in a build, under share/pelmaris when installed).
set -euo pipefail
program="$1"
expected="$2"
source "$(dirname "$0")/sandbox.sh"

record="$sandbox/opened.txt"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >>"%s"\n' "$record" >"$sandbox/standin.sh"
chmod +x "$sandbox/standin.sh"
mkdir -p "$XDG_DATA_HOME/applications" "$XDG_CONFIG_HOME"
printf '[Desktop Entry]\nType=Application\nName=Stand-in\nExec=%s %%u\nMimeType=text/html;\n' \
  "$sandbox/standin.sh" >"$XDG_DATA_HOME/applications/standin.desktop"
printf '[Default Applications]\ntext/html=standin.desktop\n' >"$XDG_CONFIG_HOME/mimeapps.list"
: >"$record"

start_program "$program"
id=$(wait_for_window)
if [ -z "$id" ]; then
  bad "no window captioned ペルマリス appeared"; cat "$sandbox/out.log"; finish
fi
sleep 1
geometry=$(xwininfo -id "$id")
wx=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$geometry")
wy=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$geometry")
# The third tab sits from 600 to 900 pixels along the 1200-pixel window's top; the help
# button fills the top left of the page below it.
xdotool mousemove --sync $((wx + 750)) $((wy + 14)) click 1
sleep 1
xdotool mousemove --sync $((wx + 310)) $((wy + 110)) click 1
for _ in $(seq 1 50); do
  [ -s "$record" ] && break
  sleep 0.1
done
opened=$(head -n 1 "$record")
[ "$opened" = "$expected" ] && ok "help page $opened" || bad "opened '$opened', not $expected"
finish
