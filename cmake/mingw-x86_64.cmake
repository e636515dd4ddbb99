# Cross toolchain for 64-bit Windows: the same sources, used to run the tests
# under 64-bit Wine on machines whose kernel cannot execute 32-bit code.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(CARTON_MINGW_TRIPLE x86_64-w64-mingw32)
set(CARTON_DEPS_ARCH x86_64)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake")
