# The frame pacer over two hours of frames with a real wake-up's jitter.
grumbo_add_test(app_pacer_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/pacer_test.cpp
  LIBS grumbo_app
  LABELS app)
