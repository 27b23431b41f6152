# Multiresolution: Subdivide, UnSubdivide and Detail.
list(APPEND SCULPT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/detail.cpp
  ${CMAKE_CURRENT_LIST_DIR}/edge_split.cpp
  ${CMAKE_CURRENT_LIST_DIR}/subdivision.cpp
)
list(APPEND SCULPT_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/detail_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/subdivision_test.cpp
)
