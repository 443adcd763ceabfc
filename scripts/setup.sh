#!/usr/bin/env bash
# Installs what building, running and testing need, on Debian 12 as root.
# Idempotent: when every package is present it only checks and returns.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config git clang-format
  qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins libqt6svg6
  qt6-translations-l10n
  qt6-qpa-plugins libgl-dev zlib1g-dev libglib2.0-dev libjpeg-dev libpng-dev libwebp-dev libxcb1-dev
  libgtest-dev
  clang libclang-rt-14-dev
  desktop-file-utils libglib2.0-bin
  dpkg-dev file lintian appstream
  fonts-noto-cjk
  xvfb xauth x11-utils xdotool openbox
  dbus-daemon at-spi2-core
  chromium
  libjpeg-turbo-progs libvips-tools imagemagick
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: missing packages (${missing[*]}); run as root to install them" >&2
  exit 1
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
