#!/usr/bin/env bash
# Pelmaris.exe itself under Wine with the windows plugin, in an X server of its own
# (run through xvfb-run): started on a folder with a Japanese name, its window appears;
# Alt+F4 closes it, and it ends by itself with status 0 and its settings saved.
#   program_under_wine.sh BUILD_DIR PELMARIS.exe
set -euo pipefail
build=$(cd "$1" && pwd)
program=$2
run="$(dirname "$0")/../../scripts/wine-run.sh"
scratch=$(mktemp -d "$build/program-check.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
pics="$scratch/写真フォルダ"
mkdir -p "$pics"
convert -size 64x48 xc:red "$pics/赤.png"
convert -size 64x48 xc:blue "$pics/a b.jpg"

export WINEPREFIX=$build/wine-prefix QT_QPA_PLATFORM=windows
"$run" "$build" cmd /c echo prefix-ready >/dev/null
ini=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Roaming | grep -v Public | head -1)
ini="$ini/Wendelmoor/Pelmaris/Pelmaris.ini"
rm -f "$ini"

PELMARIS_WINE_TIMEOUT=120 "$run" "$build" "$program" "Z:${pics//\//\\}" >"$scratch/out.log" 2>&1 &
pid=$!
id=""
for _ in $(seq 1 90); do
  id=$(xdotool search --name 'ペルマリス' 2>/dev/null | head -1 || true)
  [ -n "$id" ] && break
  sleep 1
done
if [ -z "$id" ]; then
  echo "FAIL: no window captioned ペルマリス appeared"; cat "$scratch/out.log"; kill "$pid"; exit 1
fi
echo "ok: the window appeared"
sleep 3
xdotool key --window "$id" alt+F4
closed=$SECONDS
set +e
wait "$pid"
status=$?
set -e
failed=0
if [ $status -eq 0 ]; then echo "ok: ended with status 0, $((SECONDS - closed)) s after Alt+F4"
else echo "FAIL: ended with status $status (124: still running at the time limit)"; failed=1; fi
if grep -q '^LastClose=' "$ini" 2>/dev/null; then echo "ok: settings saved"
else echo "FAIL: no settings saved in $ini"; failed=1; fi
exit $failed
