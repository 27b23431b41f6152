# Sketch spheres: metaballs polygonised with marching cubes, and the conversion
# of the scene's sketch spheres into the principal mesh.
set(SKETCH_SPHERES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/sketch_spheres.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sketch_spheres_blocks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sketch_spheres_polygonise.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sketch_spheres_tables.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sketch_spheres_weld.cpp
)
set(SKETCH_SPHERES_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/sketch_spheres_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sketch_spheres_polygonise_test.cpp
)
# The field and the crossings are single-precision sums whose bits the tests
# and the benchmark compare with a plain sampling: no fused multiply-adds.
set_source_files_properties(${SKETCH_SPHERES_SOURCES} ${SKETCH_SPHERES_TEST_SOURCES}
  PROPERTIES COMPILE_OPTIONS -ffp-contract=off)
list(APPEND PROCESSING_SOURCES ${SKETCH_SPHERES_SOURCES})
list(APPEND PROCESSING_TEST_SOURCES ${SKETCH_SPHERES_TEST_SOURCES})
