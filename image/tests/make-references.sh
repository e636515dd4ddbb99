#!/usr/bin/env bash
# Makes the reference pictures for the image tests in <outdir>: every format
# in its variants, written by ImageMagick (through OpenJPEG for JPEG 2000) or
# by make-references.py where ImageMagick cannot write a variant, and beside
# each file ImageMagick's own decoding of it as 8-bit RGBA PAM files.
#
#   <outdir>/manifest.txt   family file tolerance mode frames
#                           mode: rgba (compare R, G, B, A), cmyk (the
#                           decoder's four samples against ImageMagick's raw
#                           C, M, Y, K, inverted when the file is Adobe's)
#   <file>.<n>.pam          ImageMagick's decoding of frame n
#   <file>.frames           x y delay (1/100 s) per frame, for animations
#   <outdir>/pngsuite.txt   testdata-relative path, reference, tolerance
#   <outdir>/pngsuite-x/    deliberately broken PNG files
#
# Needs ImageMagick and python3 (installed by scripts/install-packages.sh).
set -euo pipefail

out=${1:?usage: make-references.sh OUTDIR}
here=$(cd "$(dirname "$0")" && pwd)
testdata=${CARTON_TESTDATA:-$HOME/.cache/carton-testdata}
# The system's python3 (with no version-manager shim to start every time).
if [ -x /usr/bin/python3 ]; then PY=/usr/bin/python3; else PY=$(command -v python3); fi
py() { "$PY" "$here/make-references.py" "$@"; }
# One thread per conversion: the pictures are tiny and the machine is shared.
export MAGICK_THREAD_LIMIT=1

# The real ImageMagick, not a stand-in that may sit earlier in PATH.
if [ -x /usr/bin/convert ]; then IM=/usr/bin/convert; else IM=$(command -v convert); fi
if [ -x /usr/bin/identify ]; then ID=/usr/bin/identify; else ID=$(command -v identify); fi
"$IM" -version | grep -q ImageMagick || { echo "ImageMagick's convert is missing" >&2; exit 1; }

# Built in a private folder and moved into place at the end, so that a run
# that fails, or another run at the same time, never leaves a mixed folder.
out=$(mkdir -p "$out" && cd "$out" && pwd)
work="$out.partial.$$"
trap 'rm -rf "$work"' EXIT
rm -rf "$work"
mkdir -p "$work/pngsuite" "$work/pngsuite-x"
cd "$work"
manifest=manifest.txt
: > "$manifest"

# ref FAMILY FILE TOLERANCE [MODE]: ImageMagick's decoding of every frame.
# ImageMagick reads a bottom-up Targa in stored order and only notes the
# orientation; -auto-orient turns it the right way up.
ref() {
    local family=$1 file=$2 tolerance=$3 mode=${4:-rgba} frames
    "$IM" "$file" -auto-orient -depth 8 -type TrueColorAlpha +adjoin "PAM:$file.%d.pam"
    frames=$(ls "$file".*.pam | wc -l)
    echo "$family $file $tolerance $mode $frames" >> "$manifest"
}

# Sources: an 8-bit colour picture with odd sides (row padding), one with a
# graded alpha, a 16-bit one and a larger one.
"$IM" -seed 11 -size 37x23 plasma:red-blue -depth 8 src.png
"$IM" src.png -depth 8 PAM:src.pam
"$IM" src.png \( -size 37x23 gradient:white-black \) -alpha off -compose CopyOpacity -composite \
    -depth 8 src-alpha.png
"$IM" -seed 12 -size 29x17 plasma:green-yellow -depth 16 src16.png
"$IM" -seed 13 -size 64x48 plasma: -depth 8 src-big.png

# BMP: 1, 4, 8, 24 bits by ImageMagick (uncompressed), 16 bits (5-5-5 and
# bit fields 5-6-5), 32 bits and top-down by make-references.py.
"$IM" src.png -monochrome -compress none BMP3:bmp-1.bmp
"$IM" src.png -colors 16 -type palette -compress none BMP3:bmp-4.bmp
"$IM" src.png -colors 200 -type palette -compress none BMP3:bmp-8.bmp
"$IM" src.png -type truecolor -compress none BMP3:bmp-24.bmp
py expect-bmp bmp-1.bmp 1 0
py expect-bmp bmp-4.bmp 4 0
py expect-bmp bmp-8.bmp 8 0
py expect-bmp bmp-24.bmp 24 0
py bmp-topdown bmp-8.bmp bmp-8-topdown.bmp
py bmp-variants src.pam .
for f in bmp-1 bmp-4 bmp-8 bmp-8-topdown bmp-24 bmp-24-topdown bmp-32 bmp-32-topdown; do
    ref BMP $f.bmp 0
done
# 16-bit fields are shifted to the top of each byte with the low bits left
# 0; ImageMagick scales them to the full range, up to 7 higher.
ref BMP bmp-16-555.bmp 7
ref BMP bmp-16-565.bmp 7

# Icons and cursors: one file holding a 4-bit, an 8-bit and a 32-bit
# (alpha) image of different sizes.
"$IM" src-big.png -resize 16x16! -colors 16 -type palette ico-4.ico
"$IM" src-big.png -resize 32x32! -colors 200 -type palette ico-8.ico
"$IM" src-big.png -resize 48x48! \( -size 48x48 radial-gradient:white-black \) -alpha off \
    -compose CopyOpacity -composite ico-32.ico
py expect-icon-bits ico-4.ico 4
py expect-icon-bits ico-8.ico 8
py expect-icon-bits ico-32.ico 32
py ico-merge icons.ico 1 ico-4.ico ico-8.ico ico-32.ico
py ico-merge cursor.cur 2 ico-8.ico ico-4.ico
rm ico-4.ico ico-8.ico ico-32.ico
ref ICO icons.ico 0
ref ICO cursor.cur 0

# GIF: plain, interlaced, transparent, and animated with frame offsets,
# delays and local colour tables.
"$IM" src.png -colors 64 gif-plain.gif
"$IM" src.png -colors 64 -interlace GIF gif-interlaced.gif
"$IM" src-alpha.png -channel A -threshold 50% +channel -colors 32 gif-transparent.gif
"$IM" -dispose none -delay 20 -size 40x30 gradient:red-blue -colors 16 \
    -delay 35 -page +7+4 \( -seed 3 -size 21x13 plasma:green-yellow -colors 8 \) \
    -delay 5 -page +1+17 \( -size 33x9 gradient:white-black -colors 4 \) gif-anim.gif
py expect-gif-local-table gif-anim.gif
for f in gif-plain gif-interlaced gif-transparent gif-anim; do
    ref GIF $f.gif 0
    "$ID" -format '%X %Y %T\n' $f.gif | sed 's/+//g' > $f.gif.frames
done

# PNG: grey, palette, palette with transparency, RGB, RGBA, grey with alpha,
# 16-bit, interlaced, and a linear file gamma (corrected for a 2.2 screen).
"$IM" src.png -colorspace gray -define png:color-type=0 -define png:bit-depth=8 png-grey8.png
"$IM" src.png -colorspace gray -define png:color-type=0 -define png:bit-depth=4 png-grey4.png
"$IM" src.png PNG8:png-palette.png
"$IM" src-alpha.png -channel A -threshold 50% +channel PNG8:png-palette-trns.png
"$IM" src.png PNG24:png-rgb.png
"$IM" src-alpha.png PNG32:png-rgba.png
"$IM" src-alpha.png -colorspace gray -define png:color-type=4 png-grey-alpha.png
"$IM" src16.png PNG48:png-rgb16.png
"$IM" src16.png \( -size 29x17 gradient:black-white \) -alpha off -compose CopyOpacity -composite \
    PNG64:png-rgba16.png
"$IM" src.png -interlace PNG PNG24:png-interlaced.png
"$IM" src-alpha.png -interlace PNG PNG32:png-interlaced-alpha.png
py png-gamma png-rgb.png png-gamma.png 1.0
for f in png-grey8 png-grey4 png-palette png-palette-trns png-rgb png-rgba png-grey-alpha \
         png-interlaced png-interlaced-alpha; do
    ref PNG $f.png 0
done
# libpng cuts 16-bit samples to their high byte, ImageMagick rounds.
ref PNG png-rgb16.png 1
ref PNG png-rgba16.png 1
# The decoder corrects a file gamma of 1.0 for a 2.2 screen, which is
# ImageMagick's -gamma 2.2 on the stored samples. ImageMagick itself would
# take such a file as linear RGB and convert it to sRGB's curve on output:
# "-set colorspace sRGB" keeps the stored samples instead.
"$IM" png-gamma.png -set colorspace sRGB -gamma 2.2 -depth 8 -type TrueColorAlpha PAM:png-gamma.png.0.pam
echo "PNG png-gamma.png 2 rgba 1" >> "$manifest"

# JPEG: colour (4:2:0), grey, progressive, CMYK.
"$IM" src-big.png -quality 85 jpeg-colour.jpg
"$IM" src-big.png -colorspace gray -quality 85 jpeg-grey.jpg
"$IM" src-big.png -quality 90 -interlace JPEG jpeg-progressive.jpg
"$IM" src-big.png -quality 90 -colorspace CMYK jpeg-cmyk.jpg
for f in jpeg-colour jpeg-grey jpeg-progressive; do
    ref JPEG $f.jpg 2
done
"$IM" jpeg-cmyk.jpg -depth 8 CMYK:jpeg-cmyk.jpg.cmyk
echo "JPEG jpeg-cmyk.jpg 2 cmyk 1" >> "$manifest"

# TIFF: uncompressed, LZW, Deflate, JPEG, PackBits, palette, grey, bilevel,
# RGBA, 16-bit, tiled, planar.
"$IM" src.png -compress none tiff-rgb.tif
"$IM" src.png -compress lzw tiff-lzw.tif
"$IM" src.png -compress zip tiff-zip.tif
"$IM" src-big.png -compress jpeg -quality 90 tiff-jpeg.tif
"$IM" src.png -compress rle tiff-packbits.tif
"$IM" src.png -colors 50 -type palette -compress lzw tiff-palette.tif
"$IM" src.png -colorspace gray -compress none tiff-grey.tif
"$IM" src.png -monochrome -compress none tiff-bilevel.tif
"$IM" src-alpha.png -compress lzw tiff-rgba.tif
"$IM" src16.png -compress none tiff-16.tif
"$IM" src-big.png -define tiff:tile-geometry=16x16 -compress zip tiff-tiled.tif
"$IM" src.png -interlace plane -compress none tiff-planar.tif
for f in tiff-rgb tiff-lzw tiff-zip tiff-packbits tiff-grey tiff-bilevel tiff-rgba tiff-tiled \
         tiff-planar; do
    ref TIFF $f.tif 0
done
# 16-bit samples and 16-bit colour maps: libtiff keeps the high byte,
# ImageMagick rounds.
ref TIFF tiff-16.tif 1
ref TIFF tiff-palette.tif 1
ref TIFF tiff-jpeg.tif 3

# PCX: 24-bit (three planes), 16 and 256 colours, bilevel.
"$IM" src.png PCX:pcx-24.pcx
"$IM" src.png -colors 16 -type palette PCX:pcx-16.pcx
"$IM" src.png -colors 200 -type palette PCX:pcx-8.pcx
"$IM" src.png -monochrome PCX:pcx-1.pcx
for f in pcx-24 pcx-16 pcx-8 pcx-1; do
    ref PCX $f.pcx 0
done

# Targa: plain and run-length, true colour, alpha and colour-mapped; both
# origins.
"$IM" src.png -compress none TGA:tga-24.tga
"$IM" src.png -compress RLE TGA:tga-24-rle.tga
"$IM" src-alpha.png -compress none TGA:tga-32.tga
"$IM" src-alpha.png -compress RLE TGA:tga-32-rle.tga
"$IM" src.png -colors 50 -type palette -compress none TGA:tga-8-map.tga
"$IM" src.png -colorspace gray -compress none TGA:tga-grey.tga
py tga-topleft tga-24.tga tga-24-topleft.tga raw
py tga-topleft tga-32.tga tga-32-topleft-rle.tga rle
py tga-topleft tga-8-map.tga tga-8-map-topleft-rle.tga rle
for f in tga-24 tga-24-rle tga-32 tga-32-rle tga-8-map tga-grey tga-24-topleft tga-32-topleft-rle \
         tga-8-map-topleft-rle; do
    ref TGA $f.tga 0
done

# PNM: all six kinds, plus 16-bit samples.
"$IM" src.png -monochrome -compress none PBM:pnm-p1.pbm
"$IM" src.png -colorspace gray -compress none PGM:pnm-p2.pgm
"$IM" src.png -compress none PPM:pnm-p3.ppm
"$IM" src.png -monochrome PBM:pnm-p4.pbm
"$IM" src.png -colorspace gray PGM:pnm-p5.pgm
"$IM" src.png PPM:pnm-p6.ppm
"$IM" src16.png PPM:pnm-p6-16.ppm
for f in pnm-p1.pbm pnm-p2.pgm pnm-p3.ppm pnm-p4.pbm pnm-p5.pgm pnm-p6.ppm; do
    ref PNM $f 0
done
ref PNM pnm-p6-16.ppm 1

# Sun raster: 8-bit with colour map, 24-bit, 1-bit, run-length.
"$IM" src.png -colors 50 -type palette SUN:ras-8.ras
"$IM" src.png SUN:ras-24.ras
py ras-variants ras-8.ras src.pam .
for f in ras-8 ras-24 ras-1; do
    ref RAS $f.ras 0
done
# The run-length file holds exactly the pixels of ras-8.ras; ImageMagick
# 6.9's reader drops the last run of it, so the plain file's decoding is the
# reference.
cp ras-8.ras.0.pam ras-8-rle.ras.0.pam
echo "RAS ras-8-rle.ras 0 rgba 1" >> "$manifest"

# JPEG 2000 through OpenJPEG: lossless and lossy files and code streams,
# colour and grey.
"$IM" src-big.png -quality 100 JP2:jp2-lossless.jp2
"$IM" src-big.png -quality 40 JP2:jp2-lossy.jp2
"$IM" src-big.png -colorspace gray -quality 100 JP2:jp2-grey.jp2
"$IM" src-big.png -quality 100 J2K:jpc-lossless.jpc
"$IM" src.png -quality 40 J2K:jpc-lossy.jpc
for f in jp2-lossless.jp2 jp2-grey.jp2 jpc-lossless.jpc; do
    ref JP2 $f 0
done
# The irreversible wavelet works in floating point: allow a rounding step.
for f in jp2-lossy.jp2 jpc-lossy.jpc; do
    ref JP2 $f 1
done

# PngSuite and libpng's own test pictures: ImageMagick's decoding, with the
# file gamma corrected for a 2.2 screen where libpng would correct it
# (libpng leaves corrections within 5 % alone).
suite_ref() {
    local rel=$1 gamma=$2 name correction tolerance=0
    name=$(echo "$rel" | tr '/' '_')
    correction=$(awk -v g="$gamma" 'BEGIN { c = g * 2.2; d = c - 1; if (d < 0) d = -d; if (g > 0 && d >= 0.05) printf "%.6f", c }')
    if [ -n "$correction" ]; then
        "$IM" "$testdata/$rel" -set colorspace sRGB -gamma "$correction" -depth 8 -type TrueColorAlpha "PAM:pngsuite/$name.pam"
        tolerance=2
    else
        "$IM" "$testdata/$rel" -depth 8 -type TrueColorAlpha "PAM:pngsuite/$name.pam"
    fi
    # 16-bit samples: libpng cuts to the high byte where ImageMagick rounds;
    # with a gamma correction libpng cuts before correcting, which loses up
    # to 7 levels near black.
    case "$rel" in *16*) tolerance=$((tolerance > 1 ? 8 : 1)) ;; esac
    echo "$rel pngsuite/$name.pam $tolerance" >> pngsuite.txt
}
: > pngsuite.txt
suite=("$testdata"/pngsuite/*.png "$testdata"/pngsuite/interlaced/*.png "$testdata"/testpngs/*.png)
[ -e "${suite[0]}" ] || { echo "PngSuite is missing from $testdata (scripts/fetch-test-data.sh)" >&2; exit 1; }
# The file gamma of each file (0 when it states none).
py png-gammas "${suite[@]}" > pngsuite-gamma.txt
while read -r path gamma; do
    suite_ref "${path#$testdata/}" "$gamma"
done < pngsuite-gamma.txt
py png-corrupt "$testdata/pngsuite/basn0g01.png" pngsuite-x
(cd pngsuite-x && ls) > pngsuite-x.txt
# libpng's collected crash inputs: each must be refused or decoded, never crash.
(cd "$testdata/testpngs/crashers" && ls) > crashers.txt

cd /
rm -rf "$out.old.$$"
mv "$out" "$out.old.$$"
mv "$work" "$out"
rm -rf "$out.old.$$"
echo "references: $(wc -l < "$out/$manifest") files, $(wc -l < "$out/pngsuite.txt") PngSuite files in $out"
