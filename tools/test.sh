#!/usr/bin/env bash
# Installs what is missing, builds qUaRk and its tools in build/ and runs the whole test suite
# headless (no display, no sound card needed); then builds the game and its tests again with the
# address and undefined-behaviour sanitizers in build-asan/ and runs the suite once more.
# QUARK_SKIP_SANITIZERS=1 skips that second pass.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy SDL_RENDER_DRIVER=software
jobs=$(nproc)
# Any new compiler warning fails the run.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARK_WERROR=ON >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

if [ "${QUARK_SKIP_SANITIZERS:-0}" != 1 ]; then
  cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARK_SANITIZE=ON -DQUARK_TOOLS=OFF \
    -DQUARK_WERROR=ON >/dev/null
  cmake --build build-asan -j"$jobs" --target quark-tests quark-rules-tests quark-driver
  # Game state lives until the process ends by design, so leaks are not reported; any other
  # finding of either sanitizer fails the test.
  ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j"$jobs" --timeout 600
fi
