# The player's own controls and assists without a window: remap swaps, what a
# listening cell takes, the texts that name the player's keys, and their save
# entries.
grumbo_add_test(app_options_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/player_options_test.cpp
  LIBS grumbo_app grumbo_video_headless
  LABELS app)
