#!/usr/bin/env bash
# Installs the build into a scratch prefix whose name holds the characters a menu entry
# must quote (", $, a backtick, %, a blank), then checks the installed files, that the
# menu entry and the metadata are ones a desktop accepts, and that the desktop's own
# launcher starts the installed program from the entry, with its window class the entry
# names. Runs under xvfb-run.
set -euo pipefail
build="$1"
source "$(dirname "$0")/../xvfb/sandbox.sh"
for tool in desktop-file-validate appstreamcli gio xprop; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/setup.sh"; exit 1; }
done

prefix="$sandbox/pre \"fix\" \$HOME \`id\` %f"
cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/Pelmaris share/pelmaris/Pelmaris.html share/applications/pelmaris.desktop \
  share/metainfo/example.wendelmoor.Pelmaris.metainfo.xml \
  share/icons/hicolor/scalable/apps/pelmaris.svg \
  share/man/man1/Pelmaris.1 share/man/ja/man1/Pelmaris.1; do
  [ -f "$prefix/$f" ] && ok "$f" || bad "$f is not installed"
done
for size in 16 24 32 48 64 128 256; do
  icon="$prefix/share/icons/hicolor/${size}x${size}/apps/pelmaris.png"
  [ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x${size}" ] \
    && ok "${size}px icon" || bad "no ${size}x${size} icon"
done
# Nothing but the program and its data, and no file that names the prefix.
[ -z "$(find "$prefix/bin" -type f ! -name Pelmaris)" ] && ok "only the program in bin" \
  || bad "other files in bin: $(ls "$prefix/bin")"
grep -rlF "$prefix" "$prefix/share" && bad "files above name the prefix" || ok "no file names the prefix"

entry="$prefix/share/applications/pelmaris.desktop"
desktop-file-validate "$entry" && ok "entry valid" || bad "entry invalid"
grep -qx 'Exec=Pelmaris %f' "$entry" && ok "Exec by name" || bad "Exec: $(grep ^Exec= "$entry")"
appstreamcli validate --no-net "$prefix/share/metainfo/example.wendelmoor.Pelmaris.metainfo.xml" \
  && ok "metadata valid" || bad "metadata invalid"

# The desktop's launcher finds the program on the PATH, as the menu would.
PATH="$prefix/bin:$PATH" gio launch "$entry" >"$sandbox/out.log" 2>&1 || bad "gio launch failed"
id=$(wait_for_window)
if [ -z "$id" ]; then
  bad "no window from the entry"; cat "$sandbox/out.log"; finish
fi
pid=$(xprop -id "$id" _NET_WM_PID | awk '{print $3}')
ok "the entry starts the program"
[ "$(readlink "/proc/$pid/exe")" = "$prefix/bin/Pelmaris" ] && ok "it is the installed one" \
  || bad "started $(readlink "/proc/$pid/exe")"
class=$(xprop -id "$id" WM_CLASS | sed 's/.*", "\(.*\)"/\1/')
[ "$class" = "$(sed -n 's/^StartupWMClass=//p' "$entry")" ] && ok "window class $class" \
  || bad "window class $class differs from the entry's"
finish
