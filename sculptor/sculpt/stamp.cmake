# The Stamp brush's projection and height grid (core), and the reading of stamp
# pictures through the texture decoders (Qt Gui, no widgets).
list(APPEND SCULPT_SOURCES ${CMAKE_CURRENT_LIST_DIR}/stamp.cpp)
list(APPEND SCULPT_TEST_SOURCES ${CMAKE_CURRENT_LIST_DIR}/stamp_test.cpp)

if(PLASMORA_GUI)
  add_library(plasmora_stamp_file ${CMAKE_CURRENT_LIST_DIR}/stamp_file.cpp)
  target_link_libraries(plasmora_stamp_file PUBLIC plasmora_sculpt PRIVATE plasmora_image Qt6::Gui plasmora_flags)
  plasmora_add_test(stamp_file_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/stamp_file_test.cpp
    LIBS plasmora_stamp_file Qt6::Gui)
endif()
