#!/usr/bin/env bash
# Compares the decode throughput of the toolkit's BMP, GIF and PNG decoders
# with Pillow's (Debian's python3-pil) on the same files in one run, and
# prints the ratio per format (above 1: the toolkit is faster).
#
#   bench/image-decode-vs-pillow.sh PATH/TO/image_decode_bench [RUNS]
#
# Build image_decode_bench from an optimised build (not the sanitizer build).
set -euo pipefail
bench=${1:?usage: image-decode-vs-pillow.sh IMAGE_DECODE_BENCH [RUNS]}
runs=${2:-15}
here=$(cd "$(dirname "$0")" && pwd)
if [ -x /usr/bin/convert ]; then IM=/usr/bin/convert; else IM=$(command -v convert); fi
if [ -x /usr/bin/python3 ]; then PY=/usr/bin/python3; else PY=$(command -v python3); fi
work=$(mktemp -d "${TMPDIR:-/tmp}/carton-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

# A photo-like 1920 x 1080 picture: smooth areas and detail, as a viewer sees.
"$IM" -seed 21 -size 1920x1080 plasma:fractal -blur 0x1 "$work/source.png"
"$IM" "$work/source.png" -type truecolor -compress none BMP3:"$work/picture.bmp"
"$IM" "$work/source.png" -colors 256 "$work/picture.gif"
"$IM" "$work/source.png" -define png:compression-level=6 PNG24:"$work/picture.png"
files=("$work/picture.bmp" "$work/picture.gif" "$work/picture.png")

ours=$("$bench" "$runs" "${files[@]}")
theirs=$("$PY" "$here/pillow_decode.py" "$runs" "${files[@]}")
printf '%-6s %14s %14s %8s\n' format "kwimage Mpx/s" "Pillow Mpx/s" ratio
for f in "${files[@]}"; do
    a=$(awk -v f="$f" '$2 == f { print $3 }' <<<"$ours")
    b=$(awk -v f="$f" '$2 == f { print $3 }' <<<"$theirs")
    printf '%-6s %14s %14s %8s\n' "${f##*.}" "$a" "$b" "$(awk -v a="$a" -v b="$b" 'BEGIN { printf "%.2f", a / b }')"
done
