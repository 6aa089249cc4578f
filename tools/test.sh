#!/usr/bin/env bash
# Installs what is missing, builds qUaRk and its tools in build/ and runs the whole test suite
# headless (no display, no sound card needed).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy SDL_RENDER_DRIVER=software
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"
