# Texture coordinates: chart segmentation, layout, seam split and texture sampling.
list(APPEND PROCESSING_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/uv_charts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uv_create.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uv_texture_transfer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uv_unfold.cpp
)
list(APPEND PROCESSING_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/uv_charts_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uv_unfold_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uv_texture_transfer_test.cpp
)
