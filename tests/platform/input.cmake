# Controllers and key events that exist only in software, for the SDL tests;
# the game never links them.
add_library(grumbo_sdl_test_support STATIC ${CMAKE_CURRENT_LIST_DIR}/sdl_test_support.cpp)
target_link_libraries(grumbo_sdl_test_support PUBLIC grumbo_platform_input)

# The SDL input devices end to end through SDL's virtual joystick.
grumbo_add_test(sdl_input_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/sdl_input_test.cpp
  LIBS grumbo_input grumbo_sdl_test_support
  LABELS threaded)
