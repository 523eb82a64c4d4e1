# The markup XML reader, a library of its own: it needs nothing of Win32 but the system's code pages, so the native
# tree builds it too and runs its tests under the sanitizers. Included by this folder's list and, natively, by the
# top-level one.
add_library(osm_markup_reader STATIC
  ${CMAKE_CURRENT_LIST_DIR}/MarkupXmlReader.h
  ${CMAKE_CURRENT_LIST_DIR}/MarkupXmlReader.cpp
)
target_include_directories(osm_markup_reader PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_features(osm_markup_reader PUBLIC cxx_std_17)
