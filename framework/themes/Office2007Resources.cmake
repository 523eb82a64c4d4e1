# The Office 2007 look's colour text and images, drawn at build time by tools/gen-theme.py, as one target: the
# programs that draw the looks that use them link osm_office2007_resources (an OBJECT library, since a .rc inside a
# static library would be dropped by the linker); the wizard does not.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(OSM_OFFICE2007_DIR ${CMAKE_CURRENT_BINARY_DIR}/office2007 CACHE INTERNAL "The Office 2007 look's generated resources")
set(OSM_OFFICE2007_RC ${OSM_OFFICE2007_DIR}/office2007.rc)
add_custom_command(
  OUTPUT ${OSM_OFFICE2007_RC} ${OSM_OFFICE2007_DIR}/office2007.json ${OSM_OFFICE2007_DIR}/office2007blue.ini
         ${OSM_OFFICE2007_DIR}/office2007-names.txt
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/gen-theme.py ${OSM_OFFICE2007_DIR}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/gen-theme.py
  COMMENT "Drawing the Office 2007 look's colours and images")
add_library(osm_office2007_resources OBJECT ${OSM_OFFICE2007_RC})
target_include_directories(osm_office2007_resources PRIVATE ${OSM_OFFICE2007_DIR})
# Every file the script writes is named in the .rc, so the .rc's own rule stands for all of them.
set_source_files_properties(${OSM_OFFICE2007_RC} PROPERTIES GENERATED TRUE
  OBJECT_DEPENDS ${OSM_OFFICE2007_DIR}/office2007blue.ini)
