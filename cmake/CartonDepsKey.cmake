# Computes the dependency cache folder exactly as scripts/build-deps.sh does:
# <cache root>/<arch>-<first 16 hex digits of
# sha256(build-deps.sh + mingw-common.cmake + deps.lock)>.
function(carton_deps_prefix out root arch)
  file(READ "${root}/scripts/build-deps.sh" _script)
  file(READ "${root}/cmake/mingw-common.cmake" _common)
  file(READ "${root}/scripts/deps.lock" _lock)
  string(SHA256 _hash "${_script}${_common}${_lock}")
  string(SUBSTRING "${_hash}" 0 16 _key)
  if(DEFINED ENV{CARTON_DEPS_CACHE} AND NOT "$ENV{CARTON_DEPS_CACHE}" STREQUAL "")
    set(_cache "$ENV{CARTON_DEPS_CACHE}")
  else()
    set(_cache "$ENV{HOME}/.cache/carton-deps")
  endif()
  set(${out} "${_cache}/${arch}-${_key}" PARENT_SCOPE)
endfunction()
