# Test registration for both builds.
#
#   carton_add_gtest(<target> [OWN_MAIN] SOURCES <files...> LIBS <libs...> [LABELS <labels...>])
#
# Builds a GoogleTest program and registers each TEST as its own ctest case.
# OWN_MAIN: the sources bring main() (a program that can also run as a
# helper process of its own tests), so GoogleTest's is not linked.
# Windows builds run under Wine through CMAKE_CROSSCOMPILING_EMULATOR (set
# by the toolchain's test setup below); every Wine case needs the "wine"
# fixture, which creates the build's own Wine prefix and display once and
# stops them after the run. Suites whose name ends in "Cp936" run under the
# Chinese code page and are left out of nothing else: each case is its own
# process anyway.

include(GoogleTest)

if(WIN32)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "AMD64")
    set(CARTON_WINE_LOADER /usr/lib/wine/wine64)
  else()
    set(CARTON_WINE_LOADER /usr/bin/wine)
  endif()
  set(CARTON_WINE_DIR "${CMAKE_BINARY_DIR}/wine")
  set(CMAKE_CROSSCOMPILING_EMULATOR
      "${CMAKE_SOURCE_DIR}/scripts/wine-run.sh;${CARTON_WINE_DIR};${CARTON_WINE_LOADER}")
  set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CROSSCOMPILING_EMULATOR}" CACHE STRING "" FORCE)

  add_test(NAME wine_start
           COMMAND "${CMAKE_SOURCE_DIR}/scripts/wine-session.sh" start
                   "${CARTON_WINE_DIR}" "${CARTON_WINE_LOADER}")
  add_test(NAME wine_stop
           COMMAND "${CMAKE_SOURCE_DIR}/scripts/wine-session.sh" stop
                   "${CARTON_WINE_DIR}" "${CARTON_WINE_LOADER}")
  set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
  set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine)
endif()

# Marks tests (by name) as Wine tests: fixture, time limit, and the Chinese
# code page for the Cp936 suites.
function(carton_wine_tests)
  if(NOT WIN32)
    return()
  endif()
  foreach(t IN LISTS ARGN)
    set_tests_properties("${t}" PROPERTIES FIXTURES_REQUIRED wine)
    if(t MATCHES "Cp936\\.")
      set_property(TEST "${t}" APPEND PROPERTY ENVIRONMENT CARTON_WINE_LANG=zh_CN.UTF-8)
    endif()
  endforeach()
endfunction()

# Registers a test that the Windows program <target> imports only system DLLs.
function(carton_check_imports target)
  if(WIN32)
    add_test(NAME imports.${target}
             COMMAND "${CMAKE_SOURCE_DIR}/scripts/check-imports.sh" "${CMAKE_OBJDUMP}"
                     "$<TARGET_FILE:${target}>")
  endif()
endfunction()

function(carton_add_gtest target)
  cmake_parse_arguments(A "OWN_MAIN" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${target} ${A_SOURCES})
  if(NOT A_OWN_MAIN)
    target_link_libraries(${target} PRIVATE carton::gtest_main)
  endif()
  target_link_libraries(${target} PRIVATE ${A_LIBS} carton::gtest)
  # Test support shared by every subsystem's tests (scratch folders, host
  # paths seen from Wine, running programs).
  target_include_directories(${target} PRIVATE "${CMAKE_SOURCE_DIR}/tests/support")
  if(NOT WIN32)
    target_link_libraries(${target} PRIVATE Threads::Threads)
  endif()
  # One source at a time, so that the cases of a file that uses the one
  # clipboard of the session never run at the same time as each other's.
  set(added)
  foreach(source IN LISTS A_SOURCES)
    gtest_add_tests(TARGET ${target} SOURCES ${source}
                    WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}"
                    TEST_LIST in_source)
    if(in_source)
      file(READ "${source}" text)
      if(text MATCHES "Clipboard")
        set_tests_properties(${in_source} PROPERTIES RESOURCE_LOCK clipboard)
      endif()
      list(APPEND added ${in_source})
    endif()
  endforeach()
  set_tests_properties(${added} PROPERTIES TIMEOUT 120)
  if(A_LABELS)
    set_tests_properties(${added} PROPERTIES LABELS "${A_LABELS}")
  endif()
  carton_wine_tests(${added})
  carton_check_imports(${target})
endfunction()
