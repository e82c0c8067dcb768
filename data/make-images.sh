#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the three fixed pictures of the icon box (64 x 64 PNG) with
# ImageMagick; the PNGs are kept in the repository, so building does not
# need ImageMagick. Run from anywhere: the files land beside this script.
set -euo pipefail
cd "$(dirname "$0")"

# A rounded tile of one colour with a thin lighter rim.
tile() {
    convert -size 64x64 xc:none \
        -fill "$1" -stroke "$2" -strokewidth 2 -draw "roundrectangle 1,1 62,62 8,8" \
        "$3"
}

# notfound: a picture frame with a broken corner and a question mark.
tile '#3b4048' '#5d646e' notfound.png
convert notfound.png \
    -fill none -stroke '#9aa3ad' -strokewidth 3 \
    -draw "line 40,14 14,14" -draw "line 14,14 14,50" \
    -draw "line 14,50 50,50" -draw "line 50,50 50,26" \
    -stroke '#e3a43a' -strokewidth 5 -draw "line 44,12 54,22" \
    -stroke none -fill '#e3a43a' -font DejaVu-Sans-Bold -pointsize 30 \
    -gravity center -annotate +0+1 '?' \
    -strip -depth 8 notfound.png

# notinuse: a grey tile with a "no entry" sign.
tile '#50555c' '#6c727a' notinuse.png
convert notinuse.png \
    -fill none -stroke '#c9ced4' -strokewidth 5 \
    -draw "circle 32,32 32,13" -draw "line 19,45 45,19" \
    -strip -depth 8 notinuse.png

# userdef: a head and shoulders with a pencil, for a skin the user typed in.
tile '#2d5873' '#4b7d9c' userdef.png
convert userdef.png \
    -fill '#dbe8f1' -stroke none \
    -draw "circle 28,24 28,13" \
    -draw "roundrectangle 11,39 45,62 12,12" \
    -fill '#f2c14e' -stroke '#8a6a1c' -strokewidth 1 \
    -draw "polygon 41,52 55,38 59,42 45,56" \
    -fill '#8a6a1c' -stroke none -draw "polygon 41,52 45,56 39,58" \
    -strip -depth 8 userdef.png
