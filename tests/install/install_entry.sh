#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that the menu entry is one a
# desktop accepts and that it starts the installed program, with its icon beside it.
set -euo pipefail
build="$1"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
command -v desktop-file-validate >/dev/null || { echo "desktop-file-validate is missing: run scripts/setup.sh"; exit 1; }
cmake --install "$build" --prefix "$prefix" >/dev/null
entry="$prefix/share/applications/pelmaris.desktop"
[ -f "$entry" ] || { echo "FAIL: no menu entry at $entry"; exit 1; }
desktop-file-validate "$entry"
exe=$(sed -n 's/^Exec="\([^"]*\)".*/\1/p' "$entry")
[ "$exe" = "$prefix/bin/Pelmaris" ] || { echo "FAIL: Exec names '$exe'"; exit 1; }
[ -x "$exe" ] || { echo "FAIL: $exe is not an installed program"; exit 1; }
[ -f "$prefix/share/icons/hicolor/256x256/apps/pelmaris.png" ] || { echo "FAIL: no icon"; exit 1; }
echo "installed entry valid: $entry"
