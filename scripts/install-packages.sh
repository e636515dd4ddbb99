#!/usr/bin/env bash
# Installs every Debian package the project needs on a fresh Debian 12 machine:
# the MinGW-w64 cross compiler, Wine (32-bit), Xvfb, the host -dev packages,
# GoogleTest, and what the dependency cross-build needs. Run as root.
set -euo pipefail

if [ "$(id -u)" != 0 ]; then
    echo "install-packages.sh must run as root" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive

# wine32 is an i386 package: the architecture must be known before the update.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi

# apt-get source needs a deb-src entry; a stock image has none.
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ \
   && ! grep -qs '^deb-src' /etc/apt/sources.list; then
    cat > /etc/apt/sources.list.d/carton-deb-src.sources <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
fi

packages=(
    # build tools
    cmake ninja-build pkg-config dpkg-dev nasm python3 file
    # cross compilers (i686 for the product; x86_64 for running the tests
    # under 64-bit Wine on kernels that cannot execute 32-bit code) and the
    # mingw zlib
    g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    libz-mingw-w64-dev
    # Wine (both halves) and a display for windows
    wine wine32:i386 wine64 xvfb xauth x11-apps xdotool imagemagick fonts-wqy-microhei
    # host libraries, tests and tools
    g++ googletest libgtest-dev libgmock-dev
    libbz2-dev zlib1g-dev libpng-dev libjpeg62-turbo-dev libtiff-dev libopenjp2-7-dev
    clang libclang-rt-14-dev valgrind bzip2 python3-pil time
    # signing tests: a throw-away certificate, signing and verifying installers
    openssl osslsigncode
    locales
)

apt-get update -q
apt-get install -y -q --no-install-recommends "${packages[@]}"

# Wine's Chinese code page follows the process locale (zh_CN.UTF-8); the host
# build's conversions follow the C locale, which the GBK tests set to zh_CN.GBK.
need_gen=0
for loc in 'zh_CN.UTF-8 UTF-8' 'zh_CN.GBK GBK'; do
    name=${loc%% *}
    norm=$(echo "$name" | tr 'A-Z' 'a-z' | tr -d '-')
    if ! locale -a 2>/dev/null | tr 'A-Z' 'a-z' | tr -d '-' | grep -qx "$norm"; then
        sed -i "s/^# *\($loc\)\$/\1/" /etc/locale.gen
        grep -qx "$loc" /etc/locale.gen || echo "$loc" >> /etc/locale.gen
        need_gen=1
    fi
done
[ "$need_gen" = 0 ] || locale-gen
