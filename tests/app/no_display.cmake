# Without a display the game says so and stops with exit code 1, rather than drawing unseen.
add_test(NAME app_no_display
  COMMAND sh -c "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER '$<TARGET_FILE:grumbos_megastream>' --smoke 2>&1; echo exit=$?"
  WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
set_tests_properties(app_no_display PROPERTIES LABELS app TIMEOUT 10
  PASS_REGULAR_EXPRESSION "launch error: no display: set DISPLAY or run under a desktop session\nexit=1")
