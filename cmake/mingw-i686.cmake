# Cross toolchain for the product: 32-bit Windows, MinGW-w64 with posix threads.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(CARTON_MINGW_TRIPLE i686-w64-mingw32)
set(CARTON_DEPS_ARCH i686)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake")
