#!/usr/bin/env bash
# Installs what is missing and builds into build/ (incremental).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
if [ ! -f build/build.ninja ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build build --parallel "$(nproc)"
