#!/bin/bash
# Runs one cross-built program under Wine for the Windows tests:
#   wine-run.sh BUILD_DIR PROGRAM.exe [ARGS...]
# Every test of a build folder shares one Wine prefix (BUILD_DIR/wine-prefix), made on
# first use; the Qt kit's DLLs and the mingw runtime are found through WINEPATH, the
# plugins through the program's qt.conf-free plugin path. Wine hands no QT_* variables to
# the program, so each is passed under the WINEQT_ name Wine maps back.
set -euo pipefail
build=$(cd "$1" && pwd)
shift
kits=${PELMARIS_WINDOWS_KITS:-$build/kits}
export WINEPREFIX=$build/wine-prefix
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64
# No Mono or Gecko download prompts in a test.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
winepath_of() { echo "Z:${1//\//\\}"; }
export WINEPATH="$(winepath_of "$kits/qt6-mingw/bin");$(winepath_of /usr/lib/gcc/x86_64-w64-mingw32/12-posix);$(winepath_of /usr/x86_64-w64-mingw32/lib)"
export WINEQT_PLUGIN_PATH="$(winepath_of "$kits/qt6-mingw/plugins")"
export WINEQT_QPA_FONTDIR="$(winepath_of "$build/wine-fonts")"
while IFS='=' read -r name value; do
  case $name in QT_*) export "WINE$name=$value" ;; esac
done < <(env)

# One prefix, made once even when tests start side by side.
mkdir -p "$build/wine-fonts"
(
  flock 9
  if [ ! -f "$WINEPREFIX/.pelmaris-ready" ]; then
    for font in /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf \
                /usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc; do
      [ -f "$font" ] && ln -sf "$font" "$build/wine-fonts/"
    done
    timeout 300 wine wineboot -i >/dev/null 2>&1 || true
    # The dialog font falls back to a serif unless it names a CJK font.
    for face in "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma"; do
      timeout 60 wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
        /v "$face" /t REG_SZ /d "Noto Sans CJK JP" /f >/dev/null 2>&1 || true
    done
    timeout 60 wineserver -w || true
    touch "$WINEPREFIX/.pelmaris-ready"
  fi
) 9>"$build/.wine-prefix.lock"

run() { timeout --kill-after=10 "${PELMARIS_WINE_TIMEOUT:-600}" wine "$@"; }
# A Qt Test program's report does not reach a pipe under Wine: it is written to a file
# and shown from there.
case $(basename "$1") in
  test_*.exe)
    report=$(mktemp)
    set +e
    run "$@" -o "$(winepath_of "$report"),txt"
    status=$?
    set -e
    cat "$report"
    rm -f "$report"
    exit $status
    ;;
esac
run "$@"
