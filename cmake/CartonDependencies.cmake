# Third-party libraries as imported targets with one name on every build:
# carton::bz2, carton::zlib, carton::png, carton::jpeg, carton::tiff,
# carton::openjp2, carton::gtest, carton::gtest_main.
# Windows builds take the static libraries that scripts/build-deps.sh
# cross-built into CARTON_DEPS_PREFIX; the host build takes Debian's packages.

function(_carton_static name lib)
  add_library(carton::${name} STATIC IMPORTED GLOBAL)
  set_target_properties(carton::${name} PROPERTIES
    IMPORTED_LOCATION "${CARTON_DEPS_PREFIX}/lib/${lib}"
    INTERFACE_INCLUDE_DIRECTORIES "${CARTON_DEPS_PREFIX}/include")
  if(ARGN)
    set_target_properties(carton::${name} PROPERTIES INTERFACE_LINK_LIBRARIES "${ARGN}")
  endif()
endfunction()

if(WIN32)
  if(NOT EXISTS "${CARTON_DEPS_PREFIX}/.complete")
    message(FATAL_ERROR "The cross-built dependencies are missing from ${CARTON_DEPS_PREFIX}.\n"
                        "Run: scripts/build-deps.sh ${CARTON_DEPS_ARCH}")
  endif()
  _carton_static(zlib libz.a)
  _carton_static(bz2 libbz2.a)
  _carton_static(png libpng16.a carton::zlib)
  _carton_static(jpeg libjpeg.a)
  _carton_static(tiff libtiff.a carton::jpeg carton::zlib)
  _carton_static(openjp2 libopenjp2.a)
  set_property(TARGET carton::openjp2 APPEND PROPERTY
    INTERFACE_INCLUDE_DIRECTORIES "${CARTON_DEPS_PREFIX}/include/openjpeg-2.5")
  # The static OpenJPEG must not be declared as DLL imports.
  set_property(TARGET carton::openjp2 PROPERTY INTERFACE_COMPILE_DEFINITIONS OPJ_STATIC)
  _carton_static(gtest libgtest.a)
  _carton_static(gtest_main libgtest_main.a carton::gtest)
  # The bzip2 library sources, for targets that compile them with LTO.
  set(CARTON_BZIP2_SOURCE_DIR "${CARTON_DEPS_PREFIX}/src/bzip2" CACHE INTERNAL "")
else()
  find_package(ZLIB REQUIRED)
  find_package(BZip2 REQUIRED)
  find_package(PNG REQUIRED)
  find_package(JPEG REQUIRED)
  find_package(TIFF REQUIRED)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(OPENJP2 REQUIRED IMPORTED_TARGET libopenjp2)
  find_package(GTest REQUIRED)
  find_package(Threads REQUIRED)
  foreach(pair "zlib;ZLIB::ZLIB" "bz2;BZip2::BZip2" "png;PNG::PNG" "jpeg;JPEG::JPEG"
               "tiff;TIFF::TIFF" "openjp2;PkgConfig::OPENJP2" "gtest;GTest::gtest"
               "gtest_main;GTest::gtest_main")
    list(GET pair 0 alias)
    list(GET pair 1 real)
    add_library(carton::${alias} INTERFACE IMPORTED GLOBAL)
    set_target_properties(carton::${alias} PROPERTIES INTERFACE_LINK_LIBRARIES ${real})
  endforeach()
endif()
