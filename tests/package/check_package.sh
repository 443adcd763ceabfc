#!/usr/bin/env bash
# Checks a built package as a user would get it: lintian on the .deb, then the package
# extracted into a scratch folder, its control fields, files, menu entry and metadata,
# and the extracted program started under Xvfb by the whole-program checks that list a
# small folder's images and open the help page.
set -euo pipefail
deb="$(realpath "$1")"
here="$(cd "$(dirname "$0")" && pwd)"
for tool in dpkg-deb lintian desktop-file-validate appstreamcli xvfb-run; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/setup.sh"; exit 1; }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
bad() { failed=1; echo "FAIL: $1"; }

echo "== lintian"
lintian --fail-on error,warning --info "$deb" || bad "lintian"

echo "== control"
dpkg-deb -f "$deb" Package Version Architecture Depends Recommends
depends=$(dpkg-deb -f "$deb" Depends)
for need in libqt6widgets6 libc6 qt6-qpa-plugins; do
  [[ "$depends" == *"$need"* ]] || bad "Depends lacks $need"
done

root="$scratch/root"
dpkg-deb -x "$deb" "$root"
for f in bin/Pelmaris share/pelmaris/Pelmaris.html share/applications/pelmaris.desktop \
  share/metainfo/example.wendelmoor.Pelmaris.metainfo.xml share/man/man1/Pelmaris.1.gz \
  share/man/ja/man1/Pelmaris.1.gz share/icons/hicolor/scalable/apps/pelmaris.svg \
  share/icons/hicolor/16x16/apps/pelmaris.png share/doc/pelmaris/copyright; do
  [ -f "$root/usr/$f" ] || bad "/usr/$f is missing"
done
# Everything under /usr, owned by root.
[ "$(ls "$root")" = usr ] || bad "files outside /usr: $(ls "$root")"
dpkg-deb -c "$deb" | awk '$2 != "root/root" {print; bad=1} END {exit bad}' || bad "files not owned by root"

echo "== menu entry and metadata"
desktop-file-validate "$root/usr/share/applications/pelmaris.desktop" || bad "menu entry"
appstreamcli validate --no-net "$root/usr/share/metainfo/example.wendelmoor.Pelmaris.metainfo.xml" \
  || bad "metadata"

echo "== extracted program under Xvfb"
xvfb-run -a -s "-screen 0 1600x1000x24" \
  "$here/../xvfb/folder_argument_lists_images.sh" "$root/usr/bin/Pelmaris" || bad "program run"
xvfb-run -a -s "-screen 0 1600x1000x24" "$here/../xvfb/help_page_opens.sh" \
  "$root/usr/bin/Pelmaris" "$root/usr/share/pelmaris/Pelmaris.html" || bad "help page"

[ "$failed" -eq 0 ] && echo "package checks passed" || { echo "package checks FAILED"; exit 1; }
