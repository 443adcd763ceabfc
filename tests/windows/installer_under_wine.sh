#!/usr/bin/env bash
# The setup program under Wine: installed silently for the current user, the program
# started from where it was installed, then uninstalled silently. The uninstaller removes
# what it installed and nothing else: a file the user put in the program's folder and the
# settings stay.
#   installer_under_wine.sh BUILD_DIR SETUP.exe
set -euo pipefail
build=$(cd "$1" && pwd)
setup=$2
run="$(dirname "$0")/../../scripts/wine-run.sh"
[ -f "$setup" ] || { echo "FAIL: $setup is missing (build the pelmaris_setup target)"; exit 1; }
export WINEPREFIX=$build/wine-prefix
"$run" "$build" cmd /c echo prefix-ready >/dev/null
drive=$WINEPREFIX/drive_c/users/${USER:-$(id -un)}
[ -d "$drive" ] || drive=$(ls -d "$WINEPREFIX"/drive_c/users/*/ | grep -v Public | head -1)
installed="$drive/AppData/Local/Programs/Pelmaris"
settings="$drive/AppData/Roaming/Wendelmoor/Pelmaris"
rm -rf "$installed"
failed=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAIL: $1"; failed=1; fi; }

"$run" "$build" "$setup" /S /CurrentUser
wineserver -w
check "installed for the current user" '[ -f "$installed/Pelmaris.exe" ] && [ -f "$installed/uninstall.exe" ]'
check "Qt's Japanese catalogue beside it" '[ -f "$installed/translations/qtbase_ja.qm" ] && [ -f "$installed/qt.conf" ]'
check "Start-menu entry" '[ -f "$drive/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Pelmaris.lnk" ]'
# Still running after 20 s is started; a missing DLL or plugin ends it at once.
set +e
PELMARIS_WINE_TIMEOUT=20 "$run" "$build" "$installed/Pelmaris.exe" -platform offscreen >/dev/null 2>&1
started=$?
set -e
check "the installed program starts (exit $started)" '[ $started -eq 124 ] || [ $started -eq 0 ]'

mkdir -p "$settings"
printf '[Settings]\r\n' >"$settings/Pelmaris.ini"
echo "mine" >"$installed/notes.txt"
"$run" "$build" "$installed/uninstall.exe" /S /CurrentUser
wineserver -w
sleep 2
check "program removed" '[ ! -f "$installed/Pelmaris.exe" ] && [ ! -f "$installed/uninstall.exe" ]'
check "Start-menu entry removed" '[ ! -f "$drive/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Pelmaris.lnk" ]'
check "the user's file stays" '[ -f "$installed/notes.txt" ]'
check "the settings stay" '[ -f "$settings/Pelmaris.ini" ]'
rm -rf "$installed" "$settings"
exit $failed
