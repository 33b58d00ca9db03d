# Replays and records in the app: the command-line options, recording every
# world played, keeping last.replay, checking and watching replays, and the
# records of each world with the HUD's timer.
target_sources(grumbo_app PRIVATE ${CMAKE_CURRENT_LIST_DIR}/app_replay.cpp ${CMAKE_CURRENT_LIST_DIR}/app_records.cpp
                                  ${CMAKE_CURRENT_LIST_DIR}/records.cpp)
target_link_libraries(grumbo_app PUBLIC grumbo_replay)
