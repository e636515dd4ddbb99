#!/usr/bin/env bash
# Cross-builds the Windows dependencies (static libbz2, zlib, libpng,
# libjpeg-turbo, libtiff with its zlib and jpeg codecs only, OpenJPEG, and
# GoogleTest) from Debian's source packages into a cache folder outside the
# clone. The folder is keyed by a hash of this script, of the shared
# toolchain file and of the lock file, so an unchanged recipe is built once
# and reused.
#
# scripts/deps.lock pins the exact version of every source package fetched
# and of the installed packages whose files are built in (the mingw zlib and
# GoogleTest's sources): a newer upload never changes the build by itself.
# A locked source that the archive no longer has, or an installed package at
# another version, stops the build with a message; --update takes the
# archive's current versions and rewrites the lock (commit it).
#
#   scripts/build-deps.sh [--update] i686|x86_64   prints the prefix on its last line
set -euo pipefail

update=0
if [ "${1:-}" = "--update" ]; then
    update=1
    shift
fi
arch=${1:-i686}
case "$arch" in
    i686)   triple=i686-w64-mingw32;   toolchain=mingw-i686.cmake;   jpeg_proc=i686 ;;
    x86_64) triple=x86_64-w64-mingw32; toolchain=mingw-x86_64.cmake; jpeg_proc=AMD64 ;;
    *) echo "usage: $0 [--update] i686|x86_64" >&2; exit 2 ;;
esac

root=$(cd "$(dirname "$0")/.." && pwd)
lock="$root/scripts/deps.lock"
sources="bzip2 libpng1.6 libjpeg-turbo tiff openjpeg2"
installed="libz-mingw-w64-dev googletest"
cache=${CARTON_DEPS_CACHE:-$HOME/.cache/carton-deps}

work=$(mktemp -d "${TMPDIR:-/tmp}/carton-deps.XXXXXX")
trap 'rm -rf "$work"' EXIT

locked() {  # locked <package> -> the locked version, or nothing
    awk -v p="$1" '$1 == "source" || $1 == "installed" { if ($2 == p) print $3 }' "$lock"
}

dsc_version() {  # dsc_version <folder with one unpacked source> -> its version
    sed -n 's/^Version: *//p' "$1"/*.dsc | head -n1
}

# fetch_into <source package> <version or ""> : downloads and unpacks into
# $work/src-<package>. An empty version takes the newest revision: the
# security mirror sometimes lacks a file of its newest upload, so the release
# suites' revision follows. A locked version is taken from any suite that has
# it, and nothing else is accepted.
fetch_into() {
    local pkg=$1 want=$2 candidate ok=0
    local candidates=("$pkg" "$pkg/bookworm-updates" "$pkg/bookworm")
    [ -n "$want" ] && candidates=("$pkg=$want" "$pkg/bookworm-security" "$pkg/bookworm-updates" "$pkg/bookworm")
    for candidate in "${candidates[@]}"; do
        rm -rf "$work/src-$pkg"
        mkdir -p "$work/src-$pkg"
        if (cd "$work/src-$pkg" && apt-get source -q "$candidate" >"$work/$pkg.log" 2>&1) \
           && { [ -z "$want" ] || [ "$(dsc_version "$work/src-$pkg")" = "$want" ]; }; then
            ok=1
            break
        fi
    done
    if [ "$ok" != 1 ]; then
        cat "$work/$pkg.log" >&2
        if [ -n "$want" ]; then
            echo "the locked source $pkg $want is no longer in the archive (or there is no" >&2
            echo "deb-src entry: scripts/install-packages.sh adds one). To move to the" >&2
            echo "archive's current version: scripts/build-deps.sh --update $arch, then commit" >&2
            echo "scripts/deps.lock." >&2
        else
            echo "apt-get source $pkg failed (is there a deb-src entry? run scripts/install-packages.sh)" >&2
        fi
        exit 1
    fi
}

if [ "$update" = 1 ]; then
    {
        echo "# The exact Debian versions that scripts/build-deps.sh builds the Windows"
        echo "# dependencies from; part of the dependency cache key. Refresh with"
        echo "# scripts/build-deps.sh --update <arch> and commit the result."
        for pkg in $sources; do
            fetch_into "$pkg" ""
            echo "source $pkg $(dsc_version "$work/src-$pkg")"
        done
        for pkg in $installed; do
            echo "installed $pkg $(dpkg-query -W -f='${Version}' "$pkg")"
        done
    } > "$work/deps.lock"
    if ! cmp -s "$work/deps.lock" "$lock" 2>/dev/null; then
        cp "$work/deps.lock" "$lock"
        echo "updated $lock" >&2
    fi
elif [ ! -f "$lock" ]; then
    echo "$lock is missing: scripts/build-deps.sh --update $arch writes it" >&2
    exit 1
fi

key=$(cat "$root/scripts/build-deps.sh" "$root/cmake/mingw-common.cmake" "$lock" | sha256sum | cut -c1-16)
prefix="$cache/$arch-$key"

if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

for pkg in $installed; do
    have=$(dpkg-query -W -f='${Version}' "$pkg" 2>/dev/null || true)
    if [ "$have" != "$(locked "$pkg")" ]; then
        echo "$pkg is installed at version '${have}', the lock says '$(locked "$pkg")':" >&2
        echo "install the locked version, or take this one with scripts/build-deps.sh --update $arch" >&2
        echo "and commit scripts/deps.lock." >&2
        exit 1
    fi
done

rm -rf "$prefix"
mkdir -p "$prefix/lib" "$prefix/include" "$prefix/src"
jobs=$(nproc)

# Keep host pkg-config files out of every configure step below.
export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig"
export PKG_CONFIG_PATH=

fetch() {  # fetch <source package> <folder prefix> -> prints the unpacked folder
    # --update fetched the sources already; otherwise exactly the locked version.
    if ! compgen -G "$work/src-$1/*.dsc" >/dev/null; then
        local want
        want=$(locked "$1")
        if [ -z "$want" ]; then
            echo "$1 is not in $lock: scripts/build-deps.sh --update $arch" >&2
            exit 1
        fi
        fetch_into "$1" "$want"
    fi
    find "$work/src-$1" -maxdepth 1 -mindepth 1 -type d -name "$2-*" | head -n1
}

cmake_build() {  # cmake_build <source dir> <build dir> [cmake args...]
    local src=$1 bld=$2
    shift 2
    cmake -S "$src" -B "$bld" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DCMAKE_PREFIX_PATH="$prefix" \
        -DBUILD_SHARED_LIBS=OFF \
        -DCMAKE_POSITION_INDEPENDENT_CODE=OFF \
        "$@" >"$bld.configure.log" 2>&1 || { cat "$bld.configure.log" >&2; exit 1; }
    cmake --build "$bld" -j "$jobs" >"$bld.build.log" 2>&1 || { tail -50 "$bld.build.log" >&2; exit 1; }
    cmake --install "$bld" >/dev/null
}

echo "building $arch dependencies into $prefix" >&2

# zlib: Debian's mingw package. Copy the static archive so that no linker
# search can pick libz.dll.a instead.
cp "/usr/$triple/lib/libz.a" "$prefix/lib/libz.a"
cp "/usr/$triple/include/zlib.h" "/usr/$triple/include/zconf.h" "$prefix/include/"

# bzip2: plain C files. Also keep the library sources, so that the launcher
# can compile them itself with link-time optimisation (which removes the
# compressor it does not use).
src=$(fetch bzip2 bzip2)
bz_files="blocksort.c huffman.c crctable.c randtable.c compress.c decompress.c bzlib.c"
mkdir -p "$prefix/src/bzip2" "$work/bz"
for f in $bz_files; do
    cp "$src/$f" "$prefix/src/bzip2/"
    "$triple-gcc-posix" -O2 -Wall -D_FILE_OFFSET_BITS=64 -c "$src/$f" -o "$work/bz/${f%.c}.o"
done
cp "$src/bzlib.h" "$src/bzlib_private.h" "$prefix/src/bzip2/"
cp "$src/bzlib.h" "$prefix/include/"
"$triple-ar" rcs "$prefix/lib/libbz2.a" "$work"/bz/*.o

# libpng
src=$(fetch libpng1.6 libpng1.6)
cmake_build "$src" "$work/png-build" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DPNG_BUILD_ZLIB=OFF -DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include" \
    -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON

# libjpeg-turbo (SIMD through nasm)
src=$(fetch libjpeg-turbo libjpeg-turbo)
cmake_build "$src" "$work/jpeg-build" \
    -DCMAKE_SYSTEM_PROCESSOR=$jpeg_proc \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF \
    -DWITH_SIMD=ON -DREQUIRE_SIMD=ON -DCMAKE_ASM_NASM_COMPILER=nasm

# libtiff with only its zlib and jpeg codecs
src=$(fetch tiff tiff)
cmake_build "$src" "$work/tiff-build" \
    -Dzlib=ON -Djpeg=ON -Dold-jpeg=OFF -Djpeg12=OFF -Djbig=OFF -Dlerc=OFF \
    -Dlzma=OFF -Dzstd=OFF -Dwebp=OFF -Dlibdeflate=OFF -Dpixarlog=OFF -Dcxx=OFF \
    -Dtiff-tools=OFF -Dtiff-tests=OFF -Dtiff-contrib=OFF -Dtiff-docs=OFF \
    -DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include" \
    -DJPEG_LIBRARY="$prefix/lib/libjpeg.a" -DJPEG_INCLUDE_DIR="$prefix/include"

# OpenJPEG: the library only, without its thread pool
src=$(fetch openjpeg2 openjpeg2)
cmake_build "$src" "$work/opj-build" \
    -DBUILD_CODEC=OFF -DBUILD_TESTING=OFF -DBUILD_DOC=OFF -DOPJ_USE_THREAD=OFF \
    -DBUILD_STATIC_LIBS=ON -DBUILD_THIRDPARTY=OFF

# GoogleTest from the sources of Debian's googletest package
cmake_build /usr/src/googletest "$work/gtest-build" -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON

touch "$prefix/.complete"
echo "$prefix"
