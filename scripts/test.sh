#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through ctest: all of them on the
# normal build, then the Debian package made from that build and checked as extracted,
# then the unit and window tests again on a build with AddressSanitizer and
# UndefinedBehaviorSanitizer, then the Windows build and its tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
jobs="$(nproc)"
(cd build && ctest --output-on-failure --parallel "$jobs" "$@")
bash scripts/package.sh
bash tests/package/check_package.sh dist/pelmaris_*_amd64.deb

if [ ! -f build-asan/build.ninja ]; then
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPELMARIS_BUILD_BENCHMARKS=OFF \
    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
fi
cmake --build build-asan --parallel "$jobs"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
(cd build-asan && ctest --output-on-failure --parallel "$jobs" -L unit "$@")

# The Windows program, its packages and its tests under Wine (PELMARIS_WINDOWS=0 skips
# them on a machine that only works on the Linux program).
if [ "${PELMARIS_WINDOWS:-1}" != 0 ]; then
  bash scripts/windows.sh --test
fi
