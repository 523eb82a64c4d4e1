# Test helpers: GoogleTest from Debian's source tree, and test registration that demands the runner's
# success line (a Windows program that fails to start under Wine can exit 0 without printing anything).

set(OSM_ROOT_DIR ${CMAKE_CURRENT_LIST_DIR}/..)
set(OSM_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")

macro(osm_use_googletest)
  if(NOT TARGET gtest)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    add_subdirectory(${OSM_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  endif()
  if(WIN32 AND OSM_WANT_WINE_EMULATOR)
    set(OSM_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
    set(OSM_SOURCE_DIR ${OSM_ROOT_DIR})
    configure_file(${OSM_ROOT_DIR}/tools/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
                   FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
  endif()
endmacro()

# osm_add_gtest(NAME name SOURCES ... [LIBS ...] [LABELS ...] [TIMEOUT s] [NEEDS_DISPLAY] [USES_CLIPBOARD] [USES_INPUT])
# One ctest entry per test program; it passes only when the runner printed its summary and no failure.
# USES_CLIPBOARD: the program puts data on the display's one clipboard and reads it back, so no other such program
# runs beside it.
# USES_INPUT: the program moves the session's one pointer, types keys or takes the foreground, so no other such
# program runs beside it (another one's moves and activations would reach its windows, or take a hover away).
function(osm_add_gtest)
  cmake_parse_arguments(T "NEEDS_DISPLAY;USES_CLIPBOARD;USES_INPUT" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} gmock gtest)
  target_link_libraries(${T_NAME} PRIVATE osm_gtest_main)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES
    PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] [1-9][0-9]* tests?"
    FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]"
    TIMEOUT ${T_TIMEOUT}
    LABELS "${T_LABELS}")
  if(T_NEEDS_DISPLAY)
    set_property(TEST ${T_NAME} APPEND PROPERTY LABELS display)
  endif()
  if(T_USES_CLIPBOARD)
    set_property(TEST ${T_NAME} APPEND PROPERTY RESOURCE_LOCK clipboard)
  endif()
  if(T_USES_INPUT)
    set_property(TEST ${T_NAME} APPEND PROPERTY RESOURCE_LOCK input)
  endif()
endfunction()
