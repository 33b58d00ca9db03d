# Where the save goes on Linux: the per-user folder and its byte names, and the file's mode.
grumbo_add_test(save_place_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/save_place_test.cpp
  LIBS grumbo_app grumbo_video_headless
  LABELS platform)
