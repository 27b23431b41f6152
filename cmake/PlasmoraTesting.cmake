# plasmora_add_test(NAME SOURCES... LIBS ...)
# One GoogleTest executable per library, its tests registered with ctest.
# Discovery runs when ctest starts, so tests that need a display find the one ctest runs under.
if(PLASMORA_TESTS)
  enable_testing()
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()

# GL marks tests that start the window or a GL context: the leak checker's thread
# tracer races Mesa's rendering threads and can crash, so those tests run with the
# address and undefined-behaviour checks but without leak checking.
set(PLASMORA_GL_TEST_ENV "ASAN_OPTIONS=detect_leaks=0")

function(plasmora_add_test name)
  if(NOT PLASMORA_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "GL" "" "SOURCES;LIBS" ${ARGN})
  set(_env "")
  if(ARG_GL)
    set(_env ENVIRONMENT "${PLASMORA_GL_TEST_ENV}")
  endif()
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} plasmora_flags GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE PLASMORA_BIN_DIR="${PLASMORA_BIN_DIR}")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES TIMEOUT 600 ${_env})
endfunction()
