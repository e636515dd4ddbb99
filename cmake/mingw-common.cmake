# Shared part of the MinGW-w64 cross toolchains. The including file sets
# CARTON_MINGW_TRIPLE and CARTON_DEPS_ARCH before including this one.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER   ${CARTON_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${CARTON_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${CARTON_MINGW_TRIPLE}-windres)
set(CMAKE_AR           ${CARTON_MINGW_TRIPLE}-gcc-ar-posix CACHE FILEPATH "" FORCE)
set(CMAKE_RANLIB       ${CARTON_MINGW_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "" FORCE)

# The cross-built dependencies live in a cache folder outside the clone,
# keyed by the hash of the script that builds them and of the toolchain files,
# so that a changed recipe can never be mixed with an old build.
get_filename_component(_carton_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
include("${CMAKE_CURRENT_LIST_DIR}/CartonDepsKey.cmake")
carton_deps_prefix(CARTON_DEPS_PREFIX "${_carton_root}" ${CARTON_DEPS_ARCH})

set(CMAKE_FIND_ROOT_PATH "${CARTON_DEPS_PREFIX}" /usr/${CARTON_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Host (x86_64 Linux) pkg-config files must never leak into the cross build.
set(ENV{PKG_CONFIG_LIBDIR} "${CARTON_DEPS_PREFIX}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
