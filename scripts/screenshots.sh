#!/usr/bin/env bash
# Builds Tarnwell and writes pictures of every page and dialog of the editor
# into build/screenshots/, on Qt's offscreen platform (no display needed).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target tarnwell_screenshots
QT_QPA_PLATFORM=offscreen build/tests/tarnwell_screenshots build/screenshots
# The application icon in each of its sizes, beside the pictures of the window.
for size in 16 32 48 64 128 256; do
    cp "data/icons/${size}x${size}/io.github.tarnwell.Tarnwell.png" "build/screenshots/icon-${size}.png"
done
echo "wrote build/screenshots/icon-*.png"
