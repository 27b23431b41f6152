# Ambient occlusion baked into vertex colours ("Ambient Occlusion").
list(APPEND PROCESSING_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ambient_occlusion.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ambient_occlusion_gather.cpp
)
list(APPEND PROCESSING_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ambient_occlusion_test.cpp
)
# The grid pass must round exactly like the quadratic one: no fused multiply-adds.
# Without errno and traps its masked sweep vectorises (the results stay IEEE's).
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/ambient_occlusion_gather.cpp PROPERTIES
  COMPILE_OPTIONS "-ffp-contract=off;-fno-math-errno;-fno-trapping-math;-fvect-cost-model=dynamic")
