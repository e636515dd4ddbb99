# What "cmake --install" puts where: carton-pack and kwimg into bin/ (their
# rules sit in tools/), the Windows programs and the package template into
# share/carton/, where carton-pack finds them relative to its own bin/.
#
# A Windows build installs its own programs. The host build cannot build
# them: it installs the ones that a win32 build has made, taken from
# CARTON_WIN32_BUILD_DIR (default build/win32 in the source tree) at install
# time. Missing programs are skipped with a message, so build the win32
# preset first (cmake --build --preset win32 --target Carton Setup).

if(WIN32)
  foreach(program Carton Setup uninstall)
    if(TARGET ${program})
      install(TARGETS ${program} RUNTIME DESTINATION share/carton)
    endif()
  endforeach()
  return()
endif()

set(CARTON_WIN32_BUILD_DIR "${CMAKE_SOURCE_DIR}/build/win32" CACHE PATH
    "Build folder of the win32 preset whose Carton.exe, Setup.exe and uninstall.exe are installed into share/carton")

# Each program with the places, inside the win32 build folder, where its
# target writes it; the first that exists is installed.
set(carton_win32_programs
    "Carton.exe=launcher/Carton.exe"
    "Setup.exe=setup/Setup.exe"
    "uninstall.exe=uninstall/uninstall.exe|setup/uninstall.exe")
install(CODE "
  foreach(entry IN ITEMS ${carton_win32_programs})
    string(REPLACE \"=\" \";\" parts \"\${entry}\")
    list(GET parts 0 name)
    list(GET parts 1 places)
    string(REPLACE \"|\" \";\" places \"\${places}\")
    set(found \"\")
    foreach(place IN LISTS places)
      if(NOT found AND EXISTS \"${CARTON_WIN32_BUILD_DIR}/\${place}\")
        set(found \"${CARTON_WIN32_BUILD_DIR}/\${place}\")
      endif()
    endforeach()
    if(found)
      file(INSTALL \"\${found}\" DESTINATION \"\${CMAKE_INSTALL_PREFIX}/share/carton\")
    else()
      message(STATUS \"Skipping \${name}: not built in ${CARTON_WIN32_BUILD_DIR}\")
    endif()
  endforeach()
")
