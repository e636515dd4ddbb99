#!/usr/bin/env bash
# Puts test data that comes from Debian's source packages into a cache
# folder outside the clone (default ~/.cache/carton-testdata, or
# $CARTON_TESTDATA): PngSuite and libpng's own test images (with its
# "crashers", deliberately broken files), from the libpng1.6 source package.
# Prints the folder on its last line.
set -euo pipefail
dest=${CARTON_TESTDATA:-$HOME/.cache/carton-testdata}
if [ -f "$dest/pngsuite/.complete" ]; then
    echo "$dest"
    exit 0
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/carton-testdata.XXXXXX")
trap 'rm -rf "$work"' EXIT
for suite in "" /bookworm-updates /bookworm; do
    rm -rf "$work"/*
    if (cd "$work" && apt-get source -q "libpng1.6$suite" >"$work/log" 2>&1); then
        break
    fi
done
src=$(find "$work" -maxdepth 1 -mindepth 1 -type d -name 'libpng1.6-*' | head -n1)
if [ -z "$src" ] || [ ! -d "$src/contrib/pngsuite" ]; then
    cat "$work/log" >&2 || true
    echo "could not fetch PngSuite from the libpng1.6 source package" >&2
    exit 1
fi
rm -rf "$dest/pngsuite" "$dest/testpngs"
mkdir -p "$dest"
cp -r "$src/contrib/testpngs" "$dest/testpngs"
cp -r "$src/contrib/pngsuite" "$dest/pngsuite"
touch "$dest/pngsuite/.complete"
echo "$dest"
