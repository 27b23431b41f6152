# Element editing: the mask commands, detach and mirror, unification, and the
# interactive element transforms.
list(APPEND SCULPT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/element_editing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/element_transform.cpp
)
list(APPEND SCULPT_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/element_editing_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/element_transform_test.cpp
)
