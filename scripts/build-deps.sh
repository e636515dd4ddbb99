#!/usr/bin/env bash
# Cross-builds the Windows dependencies (static libbz2, zlib, libpng,
# libjpeg-turbo, libtiff with its zlib and jpeg codecs only, OpenJPEG, and
# GoogleTest) from Debian's source packages into a cache folder outside the
# clone. The folder is keyed by a hash of this script and of the shared
# toolchain file, so an unchanged recipe is built once and reused.
#
#   scripts/build-deps.sh i686|x86_64     prints the prefix on its last line
set -euo pipefail

arch=${1:-i686}
case "$arch" in
    i686)   triple=i686-w64-mingw32;   toolchain=mingw-i686.cmake;   jpeg_proc=i686 ;;
    x86_64) triple=x86_64-w64-mingw32; toolchain=mingw-x86_64.cmake; jpeg_proc=AMD64 ;;
    *) echo "usage: $0 i686|x86_64" >&2; exit 2 ;;
esac

root=$(cd "$(dirname "$0")/.." && pwd)
key=$(cat "$root/scripts/build-deps.sh" "$root/cmake/mingw-common.cmake" | sha256sum | cut -c1-16)
cache=${CARTON_DEPS_CACHE:-$HOME/.cache/carton-deps}
prefix="$cache/$arch-$key"

if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/carton-deps.XXXXXX")
trap 'rm -rf "$work"' EXIT
rm -rf "$prefix"
mkdir -p "$prefix/lib" "$prefix/include" "$prefix/src"
jobs=$(nproc)

# Keep host pkg-config files out of every configure step below.
export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig"
export PKG_CONFIG_PATH=

fetch() {  # fetch <source package> <folder prefix> -> prints the unpacked folder
    # The newest revision first; the security mirror sometimes lacks a file of
    # its newest upload, so fall back to the release suites' revision.
    local suite ok=0
    for suite in "" /bookworm-updates /bookworm; do
        rm -rf "$work/src-$1"
        mkdir -p "$work/src-$1"
        if (cd "$work/src-$1" && apt-get source -q "$1$suite" >"$work/$1.log" 2>&1); then
            ok=1
            break
        fi
    done
    if [ "$ok" != 1 ]; then
        cat "$work/$1.log" >&2
        echo "apt-get source $1 failed (is there a deb-src entry? run scripts/install-packages.sh)" >&2
        exit 1
    fi
    # The archive keeps only the newest revision: glob the folder, never pin it.
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
