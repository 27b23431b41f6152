# Quadric mesh reduction ("Mesh Reduction").
list(APPEND PROCESSING_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/meshify_simplify_quadric.cpp
  ${CMAKE_CURRENT_LIST_DIR}/meshify_simplify_quadric_element.cpp
)
list(APPEND PROCESSING_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/meshify_simplify_quadric_test.cpp
)
