#!/usr/bin/env bash
# Draws the tool's 48x48 32-bit icon (res/pal4_subtitles.ico) with ImageMagick: a dark blue
# screen with the character for "subtitle" in white over a black shadow. The .ico is committed;
# run this only to change the picture.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

font=$(fc-match -f '%{file}' 'WenQuanYi Micro Hei')
out=$PAL4_ROOT/res/pal4_subtitles.ico
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

step "Drawing $out"
convert -size 48x48 xc:none \
    -fill '#1d3557' -draw 'roundrectangle 1,1 46,46 9,9' \
    -fill '#457b9d' -draw 'roundrectangle 4,4 43,30 6,6' \
    -font "$font" -pointsize 30 -gravity center \
    -fill '#000000' -annotate +2+5 '字' \
    -fill '#ffffff' -annotate +0+3 '字' \
    -fill '#f1c40f' -draw 'rectangle 10,40 37,42' \
    "PNG32:$work/icon.png"
convert "$work/icon.png" "$out"
identify "$out"
