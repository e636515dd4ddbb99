# 32-bit Linux (i386) with Debian's cross compiler and the :i386 development
# packages, for running the portable code with the product's pointer and
# size_t widths. The programs run through qemu's user-mode emulator, which
# works whether or not the kernel can execute 32-bit code; no binfmt_misc
# handler is involved (one would also capture 32-bit Wine).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER   i686-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER i686-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)

# The compiler's sysroot is "/": the :i386 packages live in the multiarch
# folders (/usr/lib/i386-linux-gnu). Only they may be found, never the
# x86_64 libraries of the same names.
set(CMAKE_FIND_ROOT_PATH /)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_IGNORE_PATH /usr/lib/x86_64-linux-gnu /lib/x86_64-linux-gnu)
set(ENV{PKG_CONFIG_LIBDIR} "/usr/lib/i386-linux-gnu/pkgconfig:/usr/share/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# The programs run with the system's i386 loader and libraries (libc6,
# libstdc++6 and libubsan1 from the :i386 packages), not with the cross
# compiler's copies in /usr/i686-linux-gnu: that older C library hangs in
# pthread_create under qemu 7.2.
find_program(CARTON_QEMU_I386 qemu-i386-static)
if(NOT CARTON_QEMU_I386)
  message(FATAL_ERROR "qemu-i386-static is missing: run scripts/install-packages.sh")
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR "${CARTON_QEMU_I386}")
