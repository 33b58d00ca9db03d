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

# The screen tour draws every screen in a real window; under Xvfb it runs as a test.
add_executable(app_screen_tour ${CMAKE_CURRENT_LIST_DIR}/screen_tour.cpp)
target_link_libraries(app_screen_tour PRIVATE grumbo_app grumbo_video_sdl grumbo_platform_input_headless
                                              grumbo_platform_audio_headless grumbo_platform_user_paths)
find_program(GRUMBO_TOUR_XVFB_RUN xvfb-run)
if(GRUMBO_TOUR_XVFB_RUN)
  set(GRUMBO_TOUR_DIR ${CMAKE_CURRENT_BINARY_DIR}/screen_tour)
  file(MAKE_DIRECTORY ${GRUMBO_TOUR_DIR})
  add_test(NAME app_screen_tour
    COMMAND ${CMAKE_COMMAND} -E env LSAN_OPTIONS=detect_leaks=0
            ${GRUMBO_TOUR_XVFB_RUN} -a -s "-screen 0 1920x1080x24" $<TARGET_FILE:app_screen_tour> ${CMAKE_BINARY_DIR}/bin ${GRUMBO_TOUR_DIR})
  set_tests_properties(app_screen_tour PROPERTIES LABELS "app;smoke" TIMEOUT 300)
endif()
