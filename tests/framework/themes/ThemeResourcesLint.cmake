# The Office 2007 look's generated colours and images, checked on the host by tools/check-theme-resources.py: the
# text's line ends, numbers, sections and every key the manifest names; each bitmap's form, size, states and
# margins; the .rc lines. The checker's own test breaks copies one fault at a time and expects each refused.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(osm_theme_lint_dir ${CMAKE_CURRENT_BINARY_DIR}/office2007-lint)
add_custom_command(
  OUTPUT ${osm_theme_lint_dir}/office2007.json
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/gen-theme.py ${osm_theme_lint_dir}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/gen-theme.py
  COMMENT "Drawing the Office 2007 look's colours and images for their lint")
add_custom_target(osm_office2007_lint_resources ALL DEPENDS ${osm_theme_lint_dir}/office2007.json)
add_test(NAME theme_resources_lint
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/check-theme-resources.py ${osm_theme_lint_dir})
set_tests_properties(theme_resources_lint PROPERTIES
  PASS_REGULAR_EXPRESSION "THEME-RESOURCES-OK" FAIL_REGULAR_EXPRESSION "FAILED" TIMEOUT 120)
add_test(NAME theme_resources_lint_refusals
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/check-theme-resources.py --self-test
                 ${osm_theme_lint_dir})
set_tests_properties(theme_resources_lint_refusals PROPERTIES
  PASS_REGULAR_EXPRESSION "THEME-RESOURCES-SELF-TEST-PASSED" FAIL_REGULAR_EXPRESSION "FAILED:" TIMEOUT 120)
