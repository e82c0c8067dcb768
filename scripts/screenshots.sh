#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Tarnwell and writes pictures of every page and dialog of the editor
# into build/screenshots/: once on a 1024x768 screen and once on a 1920x1080
# screen (build/screenshots/1024x768/, build/screenshots/1920x1080/), each on
# a virtual X display (Xvfb), so that the window is laid out on a real screen
# of that size. Without Xvfb the pictures are made once on Qt's offscreen
# platform, into build/screenshots/offscreen/.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/install-deps.sh xvfb || echo "Xvfb could not be installed" >&2
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target tarnwell_screenshots
rm -rf build/screenshots
mkdir -p build/screenshots

if command -v Xvfb >/dev/null 2>&1; then
    for screen in 1024x768 1920x1080; do
        # Xvfb picks a free display and writes its number once it is ready.
        number_file=$(mktemp)
        Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
        xvfb=$!
        for _ in $(seq 100); do
            [ -s "$number_file" ] && break
            sleep 0.1
        done
        display=:$(head -n1 "$number_file")
        rm -f "$number_file"
        status=0
        DISPLAY=$display QT_QPA_PLATFORM=xcb build/tests/tarnwell_screenshots \
            "build/screenshots/$screen" || status=$?
        kill "$xvfb"
        wait "$xvfb" 2>/dev/null || true
        [ "$status" -eq 0 ] || exit "$status"
    done
else
    echo "Xvfb is missing: the pictures are made on the offscreen platform" >&2
    QT_QPA_PLATFORM=offscreen build/tests/tarnwell_screenshots build/screenshots/offscreen
fi
# The application icon in each of its sizes, beside the pictures of the window.
for size in 16 32 48 64 128 256; do
    cp "data/icons/${size}x${size}/io.github.tarnwell.Tarnwell.png" "build/screenshots/icon-${size}.png"
done
echo "wrote build/screenshots/icon-*.png"
