#!/usr/bin/env bash
# Every C++ source of the project follows .clang-format.
set -euo pipefail
cd "$1"
command -v clang-format >/dev/null || { echo "clang-format is missing: run scripts/setup.sh"; exit 1; }
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
else
  mapfile -t files < <(find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
clang-format --dry-run --Werror "${files[@]}"
echo "${#files[@]} files formatted"
