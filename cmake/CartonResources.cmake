# Resources of the Windows programs, compiled with the MinGW windres.
#
#   carton_add_manifest(<target> <manifest file>)
#
# Embeds the file as the program's application manifest (type RT_MANIFEST,
# identifier 1, which the loader reads when it starts a program).
function(carton_add_manifest target file)
  if(NOT WIN32)
    return()
  endif()
  get_filename_component(file "${file}" ABSOLUTE)
  set(rc "${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest.rc")
  file(CONFIGURE OUTPUT "${rc}" CONTENT "1 24 \"${file}\"\n")
  target_sources(${target} PRIVATE "${rc}")
  set_property(SOURCE "${rc}" APPEND PROPERTY OBJECT_DEPENDS "${file}")
endfunction()
