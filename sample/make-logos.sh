#!/bin/sh
# Draws the sample package's pictures with ImageMagick: the wizard's welcome,
# banner and finish pictures (Chinese and English), the product's icons and
# the two sample pictures. The results are committed; run this again after
# changing it:  sample/make-logos.sh
#
# Needs ImageMagick's "convert" and the fonts of the Debian packages
# fonts-dejavu-core and fonts-wqy-microhei. The output is byte-for-byte the
# same on every run (no time stamps are written).
set -eu

here=$(cd "$(dirname "$0")" && pwd)
package="$here/package"
images="$package/Brindle/Lumo/images"
samples="$package/Brindle/Lumo/samples"

sans=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
bold=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
chinese=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
for font in "$sans" "$bold" "$chinese"; do
    [ -f "$font" ] || { echo "make-logos.sh: missing font $font" >&2; exit 1; }
done
command -v convert >/dev/null || { echo "make-logos.sh: ImageMagick's convert is missing" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Pictures without time stamps or other chunks that change between runs.
png() { convert "$@" -strip -define png:exclude-chunks=date,time "PNG24:$last"; }

# Colours of the product.
deep='#142850'
teal='#0f8b8d'
amber='#ffc247'
mist='#cfe8ef'

# The emblem: a framed picture with a sun over two hills, white on
# transparent, 200 x 200.
convert -size 200x200 xc:none \
    -fill none -stroke white -strokewidth 12 -draw 'roundrectangle 14,14 186,186 34,34' \
    -stroke none -fill "$amber" -draw 'circle 136,66 136,90' \
    -fill white -draw 'polygon 26,174 84,96 118,138 140,114 174,174' \
    -fill '#ffffff66' -draw 'polygon 84,96 98,115 76,124 62,126' \
    "$work/emblem.png"

# A glow behind the emblem.
convert -size 240x240 radial-gradient:'#ffffff55'-'#ffffff00' "$work/glow.png"

# The background of the big pictures: a diagonal gradient with soft light.
convert -size 498x312 -define gradient:direction=SouthEast gradient:"$deep"-"$teal" \
    \( -size 498x312 xc:none -fill '#ffffff10' -draw 'circle 420,40 420,260' \
       -fill '#ffffff0c' -draw 'circle 60,330 60,470' \) -composite \
    "$work/background.png"

# big NAME TAGLINE HEADLINE LINE1 LINE2 FONT BADGE: a 498 x 312 picture in
# the language of FONT; BADGE "check" puts a green tick on the emblem.
big() {
    cp "$work/emblem.png" "$work/mark.png"
    if [ "$7" = check ]; then
        convert "$work/emblem.png" -fill '#3cc47c' -stroke white -strokewidth 6 \
            -draw 'circle 160,160 160,196' -fill none -stroke white -strokewidth 9 \
            -draw 'polyline 142,160 155,174 180,146' "$work/mark.png"
    fi
    last="$package/$1"
    png "$work/background.png" \
        "$work/glow.png" -geometry +8+16 -composite \
        \( "$work/mark.png" -resize 150x150 \) -geometry +53+61 -composite \
        -font "$bold" -pointsize 64 -fill white -annotate +222+118 Lumo \
        -font "$6" -pointsize 15 -fill "$mist" -annotate +226+146 "$2" \
        -fill '#ffffff33' -draw 'rectangle 226,166 470,167' \
        -font "$6" -pointsize 17 -fill white -annotate +226+198 "$3" \
        -font "$6" -pointsize 12 -fill "$mist" -annotate +226+224 "$4" \
        -annotate +226+242 "$5" \
        -font "$sans" -pointsize 10 -fill '#ffffff99' \
        -annotate +226+292 'Copyright (C) 2026 Brindle Software'
}

big welcome_en.png 'See every picture at its best' 'Welcome to Lumo 1.04 Setup' \
    'This wizard installs Lumo 1.04 for you.' 'Click Next to continue.' "$sans" none
big finish_en.png 'See every picture at its best' 'Lumo is ready' \
    'Lumo 1.04 is now installed.' 'Click Finish to close Setup.' "$sans" check
big welcome_cn.png '清晰呈现每一张图片' '欢迎使用 Lumo 1.04 安装向导' \
    '本向导将在您的计算机上安装 Lumo。' '请单击“下一步”继续。' "$chinese" none
big finish_cn.png '清晰呈现每一张图片' 'Lumo 已安装完成' \
    'Lumo 1.04 已安装到您的计算机上。' '请单击“完成”关闭安装向导。' "$chinese" check

# The banner, 498 x 58: light on the left, where the wizard writes the page's
# title at (10, 10) and its description at (52, 30) in black, and the
# product's colours with the emblem and name on the right.
last="$package/banner.png"
png -size 498x58 xc:white \
    \( -size 58x150 -define gradient:direction=East gradient:'#ffffff'-"$mist" -rotate 0 \
       -resize 150x58! \) -geometry +300+0 -composite \
    \( -size 150x58 -define gradient:direction=SouthEast gradient:"$deep"-"$teal" \
       \( -size 150x58 xc:black -fill white -draw 'polygon 24,0 150,0 150,58 0,58' \) \
       -alpha off -compose CopyOpacity -composite \) -compose Over -geometry +360+0 -composite \
    \( "$work/emblem.png" -resize 34x34 \) -geometry +386+12 -composite \
    -font "$bold" -pointsize 22 -fill white -annotate +426+38 Lumo \
    -fill "$amber" -draw 'rectangle 0,56 497,57'

# Icons: 48, 32 and 16 pixels, drawn at 256 and scaled down.
icon() { convert "$1" -define icon:auto-resize=48,32,16 "$2"; }

# The application: the emblem on a rounded tile in the product's colours.
convert -size 256x256 -define gradient:direction=SouthEast gradient:"$deep"-"$teal" \
    \( -size 256x256 xc:black -fill white -draw 'roundrectangle 8,8 247,247 48,48' \) \
    -alpha off -compose CopyOpacity -composite -compose Over \
    \( "$work/emblem.png" -resize 184x184 \) -geometry +36+36 -composite "$work/app.png"
icon "$work/app.png" "$images/app.ico"

# The uninstaller: the application's tile with a red minus badge.
convert "$work/app.png" -fill '#d9443b' -stroke white -strokewidth 10 \
    -draw 'circle 190,190 190,248' -stroke none -fill white -draw 'rectangle 160,182 220,198' \
    "$work/uninstall.png"
icon "$work/uninstall.png" "$images/uninstall.ico"

# One icon per associated file type: a page with a turned corner, the
# emblem, and the type's name on a band of the type's own colour.
typeicon() {
    convert -size 256x256 xc:none \
        -fill white -stroke '#8a96a8' -strokewidth 6 \
        -draw 'polygon 40,8 176,8 232,64 232,248 40,248' \
        -fill '#dde3ea' -draw 'polygon 176,8 176,64 232,64' -stroke none \
        \( "$work/emblem.png" -resize 110x110 -fill "$deep" -colorize 100 \) \
        -geometry +83+58 -composite \
        -fill "$2" -draw 'rectangle 24,168 216,232' \
        -font "$bold" -pointsize 52 -fill white -gravity North -annotate +0+172 "$3" \
        -gravity NorthWest "$work/type.png"
    icon "$work/type.png" "$images/$1.ico"
}
typeicon jpeg '#d9643b' JPEG
typeicon jpg '#d9643b' JPG
typeicon png '#2f8f5b' PNG
typeicon jp2 '#7a4fb5' JP2
typeicon bmp '#3b6fd9' BMP
typeicon gif '#c7427f' GIF
typeicon pcx '#8a6d3b' PCX
typeicon pgx '#5b6b7a' PGX
typeicon ras '#3b8fa8' RAS
typeicon tga '#a83b3b' TGA
typeicon tiff '#4f7a2f' TIFF
typeicon tif '#4f7a2f' TIF
typeicon jpc '#7a4fb5' JPC
typeicon ppm '#b5874f' PPM
typeicon pgm '#6b6b6b' PGM
typeicon pbm '#2b2b2b' PBM
typeicon ico '#0f8b8d' ICO
typeicon icon '#0f8b8d' ICON
typeicon wmf '#3b4fa8' WMF

# Sample pictures to try the viewer with: a still landscape and an animated
# loading spinner in a nested folder.
last="$samples/harbour.png"
png -size 480x320 gradient:'#f6b26b'-'#6fa8dc' \
    -fill '#fff2cc' -draw 'circle 360,120 360,150' \
    -fill '#38577a' -draw 'polygon 0,250 90,170 170,230 260,150 380,240 480,190 480,320 0,320' \
    -fill '#1f3a5a' -draw 'polygon 0,280 120,240 240,275 360,245 480,270 480,320 0,320' \
    -fill '#ffffff' -draw 'polygon 120,262 150,262 142,272 126,272' \
    -stroke white -strokewidth 2 -draw 'line 135,262 135,236' -stroke none \
    -fill '#ffffff' -draw 'polygon 136,238 136,258 150,258'

frames=""
for step in 0 1 2 3 4 5 6 7; do
    draw=""
    for dot in 0 1 2 3 4 5 6 7; do
        angle=$(( (dot * 45) ))
        shade=$(( (dot - step + 8) % 8 ))
        grey=$(( 60 + shade * 24 ))
        x=$(awk "BEGIN { printf \"%d\", 48 + 30 * cos($angle * 3.14159265 / 180) }")
        y=$(awk "BEGIN { printf \"%d\", 48 + 30 * sin($angle * 3.14159265 / 180) }")
        draw="$draw fill rgb($grey,$grey,$(( grey / 2 + 120 ))) circle $x,$y $((x + 7)),$y"
    done
    convert -size 96x96 xc:white -draw "$draw" "$work/spin$step.gif"
    frames="$frames $work/spin$step.gif"
done
# shellcheck disable=SC2086
convert -delay 10 -loop 0 $frames "$samples/gallery/spinner.gif"
