# Resources of the Windows programs, compiled with the MinGW windres.
#
#   carton_add_manifest(<target> <manifest file>)
#
# Embeds the file as the program's application manifest (type RT_MANIFEST,
# identifier 1, which the loader reads when it starts a program). The
# comments and the indentation stay in the source file only: every byte
# counts in the launcher.
function(carton_add_manifest target file)
  if(NOT WIN32)
    return()
  endif()
  get_filename_component(file "${file}" ABSOLUTE)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${file}")
  file(READ "${file}" text)
  string(REGEX REPLACE "<!--([^-]|-[^-])*-->" "" text "${text}")
  string(REGEX REPLACE "\n[ \t\r\n]*" "\n" text "${text}")
  set(embedded "${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest")
  file(CONFIGURE OUTPUT "${embedded}" CONTENT "${text}")
  set(rc "${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest.rc")
  file(CONFIGURE OUTPUT "${rc}" CONTENT "1 24 \"${embedded}\"\n")
  target_sources(${target} PRIVATE "${rc}")
  set_property(SOURCE "${rc}" APPEND PROPERTY OBJECT_DEPENDS "${embedded}")
endfunction()
