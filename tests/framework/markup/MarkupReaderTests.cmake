# The markup reader's tokens and its robustness over cut and mutated documents: portable, so the native tree runs
# them under the sanitizers too. Included by this folder's list and, natively, by the tests' top-level one.
osm_add_gtest(NAME markup_reader_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/GuardedText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ReaderTestSupport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MarkupXmlReaderTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MarkupXmlReaderRobustnessTests.cpp
  LIBS osm_markup_reader osm_test_support)
target_include_directories(markup_reader_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR})
