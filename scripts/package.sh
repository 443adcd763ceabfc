#!/usr/bin/env bash
# Builds the Debian package dist/pelmaris_<version>_amd64.deb from the normal build in
# build/ (configured as scripts/build.sh does when it is not yet). Installs nothing:
# when a tool is missing it says which and stops (scripts/setup.sh installs them).
set -euo pipefail
cd "$(dirname "$0")/.."

missing=()
for tool in cmake ninja cpack dpkg-deb dpkg-shlibdeps file gzip strip; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "package: missing ${missing[*]}; run scripts/setup.sh as root to install them" >&2
  exit 1
fi

if [ ! -f build/build.ninja ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build build --parallel "$(nproc)"
rm -rf build/package
(cd build && cpack -G DEB -B "$PWD/package" >/dev/null)
mkdir -p dist
rm -f dist/pelmaris_*.deb
cp build/package/pelmaris_*.deb dist/
ls dist/pelmaris_*.deb
