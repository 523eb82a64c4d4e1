# libpng for the Windows trees: Debian's source of libpng 1.6 (upstream 1.6.39 with Debian's patches), which
# tools/fetch-libpng.sh puts into third_party/libpng/src, built as a static library only against mingw-w64's
# static zlib. osm_add_libpng() makes the target osm_png (libpng, zlib and libpng's headers) once per tree.
set(OSM_LIBPNG_SOURCE_DIR ${OSM_ROOT_DIR}/third_party/libpng/src CACHE PATH "libpng's source tree")

function(osm_add_libpng)
  if(TARGET osm_png)
    return()
  endif()
  if(NOT EXISTS ${OSM_LIBPNG_SOURCE_DIR}/CMakeLists.txt)
    message(FATAL_ERROR "libpng's source is missing from ${OSM_LIBPNG_SOURCE_DIR}: run tools/install-deps.sh "
                        "(as root), which fetches it with tools/fetch-libpng.sh")
  endif()

  # The import library would make every program need zlib1.dll beside it.
  set(ZLIB_USE_STATIC_LIBS ON CACHE BOOL "Link zlib's static library" FORCE)
  find_package(ZLIB REQUIRED)
  if(NOT ZLIB_LIBRARY MATCHES "libz\\.a$" AND NOT ZLIB_LIBRARY_RELEASE MATCHES "libz\\.a$")
    message(FATAL_ERROR "zlib's static library was not found (found ${ZLIB_LIBRARIES}); install libz-mingw-w64-dev")
  endif()

  # libpng's own list declares options under an old policy, where only cache entries override them.
  foreach(off PNG_SHARED PNG_TESTS PNG_EXECUTABLES PNG_FRAMEWORK PNG_DEBUG)
    set(${off} OFF CACHE BOOL "" FORCE)
  endforeach()
  set(PNG_STATIC ON CACHE BOOL "" FORCE)
  set(SKIP_INSTALL_ALL ON CACHE BOOL "" FORCE)
  # A 32-bit program for Windows XP may meet processors without SSE2: the portable filters only.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(PNG_HARDWARE_OPTIMIZATIONS OFF CACHE BOOL "" FORCE)
  endif()
  add_subdirectory(${OSM_LIBPNG_SOURCE_DIR} ${CMAKE_BINARY_DIR}/third_party/libpng EXCLUDE_FROM_ALL SYSTEM)
  # Not our code: its warnings are libpng's business.
  target_compile_options(png_static PRIVATE -w)

  # png_static has no include directories of its own; pnglibconf.h is generated into its binary directory.
  add_library(osm_png INTERFACE)
  target_link_libraries(osm_png INTERFACE png_static ZLIB::ZLIB)
  target_include_directories(osm_png SYSTEM INTERFACE ${OSM_LIBPNG_SOURCE_DIR} ${CMAKE_BINARY_DIR}/third_party/libpng)
endfunction()
