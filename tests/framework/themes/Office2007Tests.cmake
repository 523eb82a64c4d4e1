# The Office 2007 resource layer: reading theme texts, modules, the image cache and drawing, against a synthetic
# resource-only module built beside the test program (its images and texts drawn at build time), and the order in
# which the images go at exit (a probe program of its own, run by the tests, with the production resources).
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(osm_office2007_fixtures_dir ${CMAKE_CURRENT_BINARY_DIR}/office2007-fixtures)
set(osm_office2007_fixtures)
foreach(fixture states.bmp bands.bmp tall.bmp alpha.png keyed.bmp alpha.bmp topdown32.bmp topdown24.bmp short.bmp wide.bmp glyphs.bmp
                colors.ini malformed.ini tail_a.ini tail_b.ini id.ini tabs.ini ribbontab.bmp ribbongroups.bmp accesstab.bmp
                toolbarbuttons22.bmp)
  list(APPEND osm_office2007_fixtures ${osm_office2007_fixtures_dir}/${fixture})
endforeach()
add_custom_command(
  OUTPUT ${osm_office2007_fixtures}
  COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/resources/make_office2007_fixtures.py
          ${osm_office2007_fixtures_dir}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/resources/make_office2007_fixtures.py
  COMMENT "Drawing the Office 2007 resource tests' images and texts")
add_custom_target(osm_office2007_test_fixtures DEPENDS ${osm_office2007_fixtures})

foreach(module images idtext)
  if(module STREQUAL images)
    set(rc resources/Office2007TestImages.rc)
  else()
    set(rc resources/Office2007TestIdText.rc)
  endif()
  set(target osm_office2007_test_${module})
  # No C runtime: the module is its resources and an entry point that does nothing.
  add_library(${target} SHARED ${rc} ${CMAKE_SOURCE_DIR}/tests/framework/foundation/resources/ResourceOnlyModule.c)
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${target})
  target_link_options(${target} PRIVATE -nostdlib)
  target_include_directories(${target} PRIVATE ${osm_office2007_fixtures_dir})
  add_dependencies(${target} osm_office2007_test_fixtures)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${osm_office2007_fixtures}")
endforeach()

osm_add_gtest(NAME themes_office2007_images_tests
  SOURCES Office2007ImagesTests.cpp Office2007ImageDrawingTests.cpp Office2007LifetimeTests.cpp
          ${CMAKE_SOURCE_DIR}/tests/support/FailingAllocations.cpp
  LIBS osm_themes osm_test_support
  NEEDS_DISPLAY)
target_include_directories(themes_office2007_images_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
add_dependencies(themes_office2007_images_tests osm_office2007_test_images osm_office2007_test_idtext
                 office2007_lifetime_probe)

add_executable(office2007_lifetime_probe Office2007LifetimeProbe.cpp)
target_link_libraries(office2007_lifetime_probe PRIVATE osm_themes osm_office2007_resources)

# The production resources read through the process's manager (the program links them): every key and image the
# generator lists is found, and nothing reaches the observer.
osm_add_gtest(NAME themes_office2007_resources_tests
  SOURCES Office2007ResourcesTests.cpp
  LIBS osm_themes osm_office2007_resources osm_test_support)
target_include_directories(themes_office2007_resources_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
target_compile_definitions(themes_office2007_resources_tests PRIVATE
  OSM_OFFICE2007_NAMES="Z:${OSM_OFFICE2007_DIR}/office2007-names.txt")

# The look sample draws the looks that read these resources with the production set.
target_link_libraries(themes_look_tests PRIVATE osm_office2007_resources)
