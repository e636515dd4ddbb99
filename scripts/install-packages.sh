#!/usr/bin/env bash
# Installs every Debian package the project needs on a fresh Debian 12 machine:
# the MinGW-w64 cross compiler, Wine (32-bit), Xvfb, the host -dev packages,
# GoogleTest, the i386 cross compiler, libraries and emulator for the 32-bit
# Linux build, and what the dependency cross-build needs. Run as root.
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
    # the 32-bit Linux build of the portable parts (host32): the cross
    # compiler, the :i386 libraries and run-time, and the user-mode emulator
    g++-i686-linux-gnu qemu-user-static libstdc++6:i386 libubsan1:i386 libgtest-dev:i386
    libbz2-dev:i386 zlib1g-dev:i386 libpng-dev:i386 libjpeg62-turbo-dev:i386 libtiff-dev:i386
    libopenjp2-7-dev:i386
    # signing tests: a throw-away certificate, signing and verifying installers
    openssl osslsigncode
    locales
)

apt-get update -q
apt-get install -y -q --no-install-recommends "${packages[@]}"

# No binfmt_misc handler may send i386 programs to qemu: it is machine-wide
# and would make 32-bit Wine run emulated (minutes per program). The build
# calls qemu-i386-static by name. Debian's package registers no i386 handler
# itself; remove one that anything else made, and keep it from coming back.
for entry in /proc/sys/fs/binfmt_misc/*; do
    case "$(basename "$entry")" in register|status) continue ;; esac
    if [ -f "$entry" ] && grep -q '^interpreter .*qemu-i386' "$entry"; then
        echo "removing the binfmt_misc handler $(basename "$entry") (qemu-i386)" >&2
        echo -1 > "$entry"
    fi
done
if command -v update-binfmts >/dev/null && update-binfmts --display qemu-i386 >/dev/null 2>&1; then
    update-binfmts --disable qemu-i386 >/dev/null 2>&1 || true
fi
if [ -e /usr/lib/binfmt.d/qemu-i386.conf ] && [ ! -e /etc/binfmt.d/qemu-i386.conf ]; then
    mkdir -p /etc/binfmt.d
    ln -s /dev/null /etc/binfmt.d/qemu-i386.conf
fi
if grep -qs '^interpreter .*qemu-i386' /proc/sys/fs/binfmt_misc/*; then
    echo "a binfmt_misc handler for qemu-i386 is still registered" >&2
    exit 1
fi

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
