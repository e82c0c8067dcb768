#!/usr/bin/env bash
# Builds Tarnwell and writes pictures of every page and dialog of the editor
# into build/screenshots/, on Qt's offscreen platform (no display needed).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target tarnwell_screenshots
QT_QPA_PLATFORM=offscreen build/tests/tarnwell_screenshots build/screenshots
