#!/usr/bin/env bash
# Draws Carton.exe's default icon, a closed cardboard box, with ImageMagick
# and writes launcher/Carton.ico with one 32x32 image of 16 colours (about
# 750 bytes: the launcher travels in front of every installer and must stay
# small; the system scales it down for small icons). The .ico is committed;
# run this only to change the picture.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Front face, lid and side of the box, a tape stripe across the lid.
convert -size 32x32 xc:none \
    -fill '#c8904c' -stroke '#6b4520' -strokewidth 1 \
    -draw 'polygon 3,11 21,11 21,29 3,29' \
    -fill '#a8743a' -draw 'polygon 21,11 29,6 29,24 21,29' \
    -fill '#e0ac68' -draw 'polygon 3,11 11,5 29,6 21,11' \
    -stroke none -fill '#f2e2b8' -draw 'polygon 11,11 14,11 22,6 19,6' \
    -fill '#f2e2b8' -draw 'rectangle 11,11 13,18' \
    "$work/box32.png"
# Icons of 16 colours have an on/off mask: edges are made fully opaque or
# fully clear first, or the writer drops the mask.
convert "$work/box32.png" -channel A -threshold 50% +channel +dither -colors 16 \
    "$here/launcher/Carton.ico"
