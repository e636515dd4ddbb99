#!/usr/bin/env bash
# Makes the placeholder pictures of the package template with ImageMagick:
# each names its key, its size and that it is to be replaced. The wizard
# shows them without scaling, so the sizes are fixed: the welcome and finish
# pictures 498 x 312, the banner 498 x 58. The results are committed; run
# this again only to change them.
set -euo pipefail
out=${1:-"$(cd "$(dirname "$0")" && pwd)/template"}
font=DejaVu-Sans
bold=DejaVu-Sans-Bold

# picture <file> <width> <height> <title> <note>
picture() {
    convert -size "$2x$3" gradient:'#dfe8f3'-'#9fb6d3' \
        -fill '#ffffff' -draw "rectangle 0,0 $(($2 - 1)),3" \
        -font "$bold" -pointsize "$4" -fill '#1f3b5c' -gravity northwest \
        -annotate "+18+$5" "$6" \
        -font "$font" -pointsize 13 -fill '#1f3b5c' \
        -annotate "+18+$7" "$8" \
        -strip -define png:exclude-chunks=date,time +dither -colors 64 "PNG8:$out/$1"
}

picture logo.png 498 312 30 40 "Welcome" 90 \
    "logo = logo.png, the welcome picture: 498 x 312 pixels.\nReplace it with your own picture of the same size."
picture finish.png 498 312 30 40 "Finished" 90 \
    "logo3 = finish.png, the finish picture: 498 x 312 pixels.\nReplace it with your own picture of the same size."
# The banner carries the page's title and description, drawn by the wizard
# over its left part: keep that part calm.
picture banner.png 498 58 12 8 "banner.png (logo2)" 28 "498 x 58 pixels: replace with yours"

# Placeholder icons for the program and uninstaller shortcuts.
icons="$out/MyCompany/MyApp/images"
mkdir -p "$icons"
icon() {
    convert -size 32x32 xc:"$2" -fill '#ffffff' -font "$bold" -pointsize 18 -gravity center \
        -annotate +0+0 "$3" -strip "$icons/$1"
}
icon app.ico '#2d6cb5' A
icon uninstall.ico '#b53a2d' U
