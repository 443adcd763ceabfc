#!/bin/bash
# The Windows build on Debian: installs the cross compiler, Wine, NSIS and zstd (as root,
# when missing), unpacks the Qt and image-library kits, cross-builds into build-windows/
# and makes dist/Pelmaris-<version>-win64.zip and dist/Pelmaris-<version>-setup.exe.
#   bash scripts/windows.sh          build and package
#   bash scripts/windows.sh --test   the same, then the Windows tests under Wine
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build-windows
kits_source=${PELMARIS_KITS:-$root/../shared/kits}
[ -d "$kits_source" ] || kits_source=/work/shared/kits

packages=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine wine64 nsis zstd xvfb
          cmake ninja-build fonts-noto-cjk fonts-dejavu-core qt6-translations-l10n xdotool
          imagemagick)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "windows.sh: missing packages (install as root): ${missing[*]}" >&2
    exit 1
  fi
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Wine takes its ANSI code page from the Unix locale: the tests of the Japanese code page
# need ja_JP.UTF-8 to exist.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$' && [ "$(id -u)" -eq 0 ]; then
  localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi

# The kits, checked against their published sums, unpacked once.
mkdir -p "$build/kits"
unpack() { # kit-file folder sha256
  if [ ! -f "$build/kits/$2/.unpacked-$3" ]; then
    echo "$3  $kits_source/$1" | sha256sum -c --quiet
    rm -rf "${build:?}/kits/$2"
    tar -I zstd -xf "$kits_source/$1" -C "$build/kits"
    touch "$build/kits/$2/.unpacked-$3"
  fi
}
unpack qt6.4.2-mingw64.tar.zst qt6-mingw f2ef3aa889a7903cdb4e36de3b8aede1463b57ebaf06028fe19f1e61a8fabb4e
unpack mingw-deps.tar.zst mingw-deps f113c011fe6add67c05af592789be0ae121e1d313c0395875b73d020e22bdfc9

cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DPELMARIS_WINDOWS_KITS="$build/kits" \
  -DCMAKE_BUILD_TYPE=Release -DPELMARIS_BUILD_BENCHMARKS=OFF -DPELMARIS_BUILD_TESTS=ON
cmake --build "$build" -j"${JOBS:-2}"
cmake --build "$build" --target pelmaris_packages
ls -l "$root"/dist/Pelmaris-*-win64.zip "$root"/dist/Pelmaris-*-setup.exe

if [ "${1:-}" = "--test" ]; then
  (cd "$build" && ctest --output-on-failure -j2)
fi
