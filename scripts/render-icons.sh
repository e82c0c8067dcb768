#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the application icon's PNGs from its two drawings: the small one
# (drawn on a 32-pixel grid) for 16 and 32 pixels, the full one for 48 and up.
# The PNGs are committed; run this after changing a drawing (needs
# rsvg-convert, Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../data/icons"

id=io.github.tarnwell.Tarnwell
for size in 16 32 48 64 128 256; do
    drawing=$id.svg
    if [ "$size" -le 32 ]; then
        drawing=$id-small.svg
    fi
    mkdir -p "${size}x${size}"
    rsvg-convert -w "$size" -h "$size" "$drawing" -o "${size}x${size}/$id.png"
    echo "${size}x${size}/$id.png from $drawing"
done
