# The app's flow units without a window: the save schema, the sound policy,
# the menu and mouse model and the HUD layout; and a whole session through
# the title, play, the pause menu and settings on the headless backend.
grumbo_add_test(app_flow_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/save_schema_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sound_policy_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/menus_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/hud_test.cpp
  LIBS grumbo_app grumbo_video_headless
  LABELS app)

grumbo_add_test(app_session_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/flow_session_test.cpp
  LIBS grumbo_app grumbo_video_headless grumbo_platform_input_headless grumbo_platform_audio_headless
  LABELS "app;threaded")
