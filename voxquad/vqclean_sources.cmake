# Sharp features, degree reduction and rhombus removal of voxquad_core (included by CMakeLists.txt).
target_sources(voxquad_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/polygon_storage_edit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/polygon_storage_reduce_degree.cpp
  ${CMAKE_CURRENT_LIST_DIR}/polygon_storage_rhombus.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sharp_features.cpp
  ${CMAKE_CURRENT_LIST_DIR}/voxelizer_features.cpp
  ${CMAKE_CURRENT_LIST_DIR}/feature_transfer.cpp
)
list(APPEND VOXQUAD_TEST_SOURCES
  polygon_storage_cleanup_test.cpp
  sharp_features_test.cpp
  remesher_run_test.cpp
  real_meshes_test.cpp
  remesher_closed_output_test.cpp
  remesher_output_fingerprint_test.cpp
)
