# Brush operators, their shared frame, footprint gathering, the screen grid, the brush table and
# the stroke that drives them.
list(APPEND SCULPT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/brush_add.cpp
  ${CMAKE_CURRENT_LIST_DIR}/brush_crease.cpp
  ${CMAKE_CURRENT_LIST_DIR}/brush_dispatch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/brush_flatten.cpp
  ${CMAKE_CURRENT_LIST_DIR}/brush_grab.cpp
  ${CMAKE_CURRENT_LIST_DIR}/brush_inflate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/brush_pinch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/brush_scar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/brush_smooth.cpp
  ${CMAKE_CURRENT_LIST_DIR}/brush_stamp.cpp
  ${CMAKE_CURRENT_LIST_DIR}/brush_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/brush_wax.cpp
  ${CMAKE_CURRENT_LIST_DIR}/footprint.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mask_painting.cpp
  ${CMAKE_CURRENT_LIST_DIR}/screen_grid.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sketch_strokes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/stroke.cpp
  ${CMAKE_CURRENT_LIST_DIR}/vertex_painting.cpp
)
list(APPEND SCULPT_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/brush_operators_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/brush_table_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/footprint_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/screen_grid_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sketch_strokes_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/stroke_test.cpp
)
