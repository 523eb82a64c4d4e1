# The Office 2007 look and its part painters, against a synthetic resource-only module built beside the test program:
# a theme text giving every key the generator lists a colour of its own, and every image the look draws with each
# state in a flat colour of its own.
set(osm_office2007_theme_fixtures_dir ${CMAKE_CURRENT_BINARY_DIR}/office2007-theme-fixtures)
set(osm_office2007_theme_rc ${osm_office2007_theme_fixtures_dir}/office2007_theme_test.rc)
add_custom_command(
  OUTPUT ${osm_office2007_theme_rc}
  COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/resources/make_office2007_theme_fixtures.py
          ${CMAKE_SOURCE_DIR}/tools/gen-theme.py ${osm_office2007_theme_fixtures_dir}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/resources/make_office2007_theme_fixtures.py
          ${CMAKE_CURRENT_SOURCE_DIR}/resources/make_office2007_fixtures.py ${CMAKE_SOURCE_DIR}/tools/gen-theme.py
  COMMENT "Drawing the Office 2007 look tests' images and colours")
add_library(osm_office2007_test_theme SHARED ${osm_office2007_theme_rc}
                                             ${CMAKE_SOURCE_DIR}/tests/framework/foundation/resources/ResourceOnlyModule.c)
set_target_properties(osm_office2007_test_theme PROPERTIES PREFIX "" OUTPUT_NAME osm_office2007_test_theme)
target_link_options(osm_office2007_test_theme PRIVATE -nostdlib)
target_include_directories(osm_office2007_test_theme PRIVATE ${osm_office2007_theme_fixtures_dir})

osm_add_gtest(NAME themes_office2007_theme_tests
  SOURCES Office2007ThemeTests.cpp Office2007SurfacesTests.cpp Office2007PartPaintersTests.cpp
  LIBS osm_themes osm_commandbars_testing osm_test_support
  NEEDS_DISPLAY)
target_include_directories(themes_office2007_theme_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/support
                                                                 ${CMAKE_SOURCE_DIR}/tests/framework/commandbars
                                                                 ${CMAKE_SOURCE_DIR}/tests/framework/controls
                                                                 ${CMAKE_SOURCE_DIR}/tests/framework/foundation)
add_dependencies(themes_office2007_theme_tests osm_office2007_test_theme)

# The Ribbon look over the same synthetic module.
osm_add_gtest(NAME themes_ribbon_theme_tests
  SOURCES RibbonThemeTests.cpp
  LIBS osm_themes osm_commandbars_testing osm_test_support
  NEEDS_DISPLAY)
target_include_directories(themes_ribbon_theme_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/support
                                                             ${CMAKE_SOURCE_DIR}/tests/framework/commandbars
                                                             ${CMAKE_SOURCE_DIR}/tests/framework/controls
                                                             ${CMAKE_SOURCE_DIR}/tests/framework/foundation)
add_dependencies(themes_ribbon_theme_tests osm_office2007_test_theme)
