# The app's flow units without a window: the save schema, the sound policy,
# the menu and mouse model and the HUD layout.
grumbo_add_test(app_flow_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/save_schema_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sound_policy_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/menus_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/hud_test.cpp
    ${PROJECT_SOURCE_DIR}/src/app/save_schema.cpp
    ${PROJECT_SOURCE_DIR}/src/app/sound_policy.cpp
    ${PROJECT_SOURCE_DIR}/src/app/menus.cpp
    ${PROJECT_SOURCE_DIR}/src/app/hud_layout.cpp
  LIBS grumbo_game grumbo_save grumbo_platform_user_paths)
