# Replays in the app: the command-line options, recording every world played,
# keeping last.replay, checking and watching replays.
target_sources(grumbo_app PRIVATE ${CMAKE_CURRENT_LIST_DIR}/app_replay.cpp)
target_link_libraries(grumbo_app PUBLIC grumbo_replay)
